#include "memoryhost/MemoryShape.h"

#include <utility>

namespace vx {

MemoryShape::MemoryShape(std::vector<MemorySpline> splines)
    : splines_(std::move(splines))
{
    RebuildView();
}

MemoryShape::MemoryShape(const MemoryShape& other)
    : splines_(other.splines_)
{
    RebuildView();
}

MemoryShape::MemoryShape(MemoryShape&& other)
    : splines_(std::move(other.splines_))
{
    RebuildView();
    other.RebuildView();
}

MemoryShape& MemoryShape::operator=(const MemoryShape& other)
{
    if (this != &other) {
        splines_ = other.splines_;
        RebuildView();
    }
    return *this;
}

MemoryShape& MemoryShape::operator=(MemoryShape&& other)
{
    if (this != &other) {
        splines_ = std::move(other.splines_);
        RebuildView();
        other.RebuildView();
    }
    return *this;
}

void MemoryShape::RebuildView()
{
    splineViews_.clear();
    splineViews_.reserve(splines_.size());
    for (const MemorySpline& spline : splines_)
        splineViews_.push_back(HostSpline {spline.closed, MakeHostArray(spline.knots)});
    view_.splines = MakeHostArray(splineViews_);
}

} // namespace vx
