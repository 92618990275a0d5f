#pragma once
// The in-memory shape: owns the splines' knots and the HostShape view the host interface hands out
// over them. Copies and moves rebuild the view, so it never points into another shape's storage.

#include "host/HostShape.h"

#include <vector>

namespace vx {

struct MemorySpline {
    bool closed = false;
    std::vector<HostSplineKnot> knots;
};

class MemoryShape {
public:
    MemoryShape() = default;
    explicit MemoryShape(std::vector<MemorySpline> splines);
    MemoryShape(const MemoryShape& other);
    MemoryShape(MemoryShape&& other);
    MemoryShape& operator=(const MemoryShape& other);
    MemoryShape& operator=(MemoryShape&& other);

    // The view over this shape's splines; valid until the shape changes or is destroyed.
    const HostShape& GetView() const { return view_; }
    const std::vector<MemorySpline>& GetSplines() const { return splines_; }

private:
    void RebuildView();

    std::vector<MemorySpline> splines_;
    std::vector<HostSpline> splineViews_;
    HostShape view_;
};

} // namespace vx
