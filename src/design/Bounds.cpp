#include "design/Bounds.h"

#include "base/Assert.h"
#include "base/DebugOutput.h"
#include "base/Numeric.h"
#include "base/Transform.h"
#include "design/CompositeObject.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_set>

namespace ZR {

namespace {

constexpr std::size_t kMinPoints = 4096;
constexpr uint32_t kProgressStep = 1024;

// The objects whose points are being collected, from the outermost call inwards.
using WalkSet = std::unordered_set<const CompositeObject*>;

bool IsFinitePoint(const vx::Vector3& p)
{
    // The common case: nothing to report.
    if (vx::IsQuietlyFinite(p.x) && vx::IsQuietlyFinite(p.y) && vx::IsQuietlyFinite(p.z))
        return true;
    // Every coordinate is checked, so that each suspicious one is reported.
    const bool x = vx::myFinite(p.x);
    const bool y = vx::myFinite(p.y);
    const bool z = vx::myFinite(p.z);
    return x && y && z;
}

bool IsFinitePlacement(const Placement& placement)
{
    const bool position = IsFinitePoint(placement.position);
    const bool x = vx::myFinite(placement.matrix.R0.x);
    const bool y = vx::myFinite(placement.matrix.R1.y);
    const bool z = vx::myFinite(placement.matrix.R2.z);
    // The whole matrix must be finite too: an off-diagonal NaN would reach every point.
    const vx::Rotation& m = placement.matrix;
    const bool rest = std::isfinite(m.R0.y) && std::isfinite(m.R0.z) && std::isfinite(m.R1.x)
        && std::isfinite(m.R1.z) && std::isfinite(m.R2.x) && std::isfinite(m.R2.y);
    return position && x && y && z && rest;
}

PointList NewPointList(const CompositeObject& object)
{
    PointList list;
    list.reserve(std::max<std::size_t>(kMinPoints, 8u * object.data.Components.Count()));
    return list;
}

// Where collected points go, in collection order: appended to a list (the points of an instance's
// target, placed one by one afterwards) or folded into a running box (the object whose box is
// computed, which needs no point twice). The fold starts where BoxFromPoints starts and changes a
// bound only on a strictly smaller or larger value, so it ends with the box BoxFromPoints gives for
// the same points in the same order; points whose own box was folded the same way may be added as
// that box.
class PointSink {
public:
    // Appends to list.
    explicit PointSink(PointList& list)
        : list_(&list)
    {
    }
    // Folds into a box.
    PointSink() = default;

    void Add(const vx::Vector3& p)
    {
        if (list_)
            list_->push_back(p);
        else
            Fold(p, p);
    }

    // Adds points (not empty), whose BoxFromPoints box is box.
    void AddAll(const PointList& points, const Aabb& box)
    {
        if (list_)
            list_->insert(list_->end(), points.begin(), points.end());
        else
            Fold(box.min, box.max);
    }

    // The folded box (valid; the zero box when nothing was added), as BoxFromPoints sets it.
    Aabb FoldedBox() const
    {
        Aabb box;
        box.min = any_ ? min_ : vx::Vector3 {0.0f, 0.0f, 0.0f};
        box.max = any_ ? max_ : vx::Vector3 {0.0f, 0.0f, 0.0f};
        box.valid = true;
        return box;
    }

private:
    void Fold(const vx::Vector3& lo, const vx::Vector3& hi)
    {
        any_ = true;
        min_ = {std::min(min_.x, lo.x), std::min(min_.y, lo.y), std::min(min_.z, lo.z)};
        max_ = {std::max(max_.x, hi.x), std::max(max_.y, hi.y), std::max(max_.z, hi.z)};
    }

    PointList* list_ = nullptr;
    bool any_ = false;
    vx::Vector3 min_ {FLT_MAX, FLT_MAX, FLT_MAX};
    vx::Vector3 max_ {-FLT_MAX, -FLT_MAX, -FLT_MAX};
};

void Reject(const CompositeObject& object, const char* what, const BoundsRejectHandler& onReject)
{
    vx::WriteDebugOutputF("Bounding box of \"%s\": %s\r\n", object.name.c_str(), what);
    if (onReject)
        onReject(object, what);
}

// Whether each row has a single component that is not (next to) zero: a turn by quarter turns, a
// swap of axes or a mirror, with any scale. Such rows carry a box's corners to a box that is as tight.
bool KeepsAxes(const vx::Rotation& rows)
{
    for (const vx::Vector3* row : {&rows.R0, &rows.R1, &rows.R2}) {
        const float a[3] = {std::fabs(row->x), std::fabs(row->y), std::fabs(row->z)};
        const float largest = std::max({a[0], a[1], a[2]});
        int significant = 0;
        for (const float c : a)
            significant += c > largest * 1e-6f ? 1 : 0;
        if (significant != 1)
            return false;
    }
    return true;
}

void AppendCorners(const Aabb& box, PointSink& list)
{
    const vx::Vector3 lo {
        std::min(box.min.x, box.max.x), std::min(box.min.y, box.max.y), std::min(box.min.z, box.max.z)};
    const vx::Vector3 hi {
        std::max(box.min.x, box.max.x), std::max(box.min.y, box.max.y), std::max(box.min.z, box.max.z)};
    list.Add({lo.x, lo.y, lo.z});
    list.Add({lo.x, lo.y, hi.z});
    list.Add({lo.x, hi.y, lo.z});
    list.Add({lo.x, hi.y, hi.z});
    list.Add({hi.x, lo.y, lo.z});
    list.Add({hi.x, lo.y, hi.z});
    list.Add({hi.x, hi.y, lo.z});
    list.Add({hi.x, hi.y, hi.z});
}

bool CollectGeometry(const CompositeObject& object, PointSink& list)
{
    // The object's geometry placement (its scale included) places every piece after the piece's own.
    const vx::Transform geometryPlacement {object.data.placement.matrix, object.data.placement.position};
    // The identity is skipped rather than applied, which would turn a stored -0 into +0.
    const bool hasPlacement = !(geometryPlacement == vx::IdentityTransform());
    for (const ModelPair& pair : object.data.Model.pairs) {
        if (!pair.vd)
            continue;
        const vx::Transform transform = pair.transform.ToTransform();
        // Positions are read in place; an element shorter than three floats reads as the origin.
        const std::size_t size = pair.vd->ElementSize(vx::VMVertexData::POSITION_CHANNEL);
        const uint8_t* bytes = size >= 3 * sizeof(float)
            ? pair.vd->channels[vx::VMVertexData::POSITION_CHANNEL].data()
            : nullptr;
        for (int32_t i = 0; i < pair.vd->vertexCount; ++i) {
            float xyz[3] = {0.0f, 0.0f, 0.0f};
            if (bytes)
                std::memcpy(xyz, bytes + size * static_cast<std::size_t>(i), sizeof xyz);
            const vx::Vector3 p {xyz[0], xyz[1], xyz[2]};
            // The vertex data holds database-order coordinates: swap the second and third back.
            vx::Vector3 inObject = vx::ApplyTransform(transform, {p.x, p.z, p.y});
            if (hasPlacement)
                inObject = vx::ApplyTransform(geometryPlacement, inObject);
            if (!IsFinitePoint(inObject))
                return false;
            list.Add(inObject);
        }
    }
    return true;
}

bool CollectWalk(CompositeObject& object, PointSink& list, WalkSet& walking,
    const BoundsRejectHandler& onReject, bool cornersOfValidBox);

void CollectInstances(
    CompositeObject& object, PointSink& list, WalkSet& walking, const BoundsRejectHandler& onReject)
{
    const uint32_t total = object.data.Components.Count();
    uint32_t counted = 0;
    for (const std::unique_ptr<ObjectInstance>& instance : object.data.Components) {
        instance->box.valid = false;
        CompositeObject* target = instance->object;
        if (!target)
            continue;
        if (!VX_ASSERT_TEXT(walking.count(target) == 0, "!walking.In(target)")) {
            Reject(*target, "placed inside itself; the instance is skipped", onReject);
            continue;
        }
        if (!IsFinitePlacement(instance->placement)) {
            Reject(object, "an instance's placement is not finite; the instance is skipped", onReject);
            continue;
        }
        // A stretchable target is stretched by the instance's sizes (design axes: width, height,
        // length) before it is placed.
        const vx::Vector3 stretch = instance->sizeFlag
            ? vx::Vector3 {float(instance->width), float(instance->height), float(instance->length)}
            : (instance->lengthFlag ? vx::Vector3 {1.0f, 1.0f, float(instance->length)}
                                    : vx::Vector3 {1, 1, 1});
        const vx::Rotation& m = instance->placement.matrix;
        const vx::Transform transform {
            {m.R0 * stretch.x, m.R1 * stretch.y, m.R2 * stretch.z}, instance->placement.position};
        PointList placed = NewPointList(*target);
        PointSink placedSink(placed);
        // Placed by a turn that keeps the axes, the corners of the target's box bound exactly what it
        // holds; under any other turn they would bound more, so its content is walked instead.
        if (!CollectWalk(*target, placedSink, walking, onReject, KeepsAxes(transform.rows)))
            continue;
        bool finite = true;
        for (vx::Vector3& p : placed) {
            p = vx::ApplyTransform(transform, p);
            finite = finite && std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
        }
        if (!finite || (!placed.empty() && !IsFinitePoint(placed.back()))) {
            Reject(object, "an instance places points out of range; the instance is skipped", onReject);
            continue;
        }
        BoxFromPoints(instance->box, placed);
        if (placed.empty())
            continue;
        list.AddAll(placed, instance->box);
        ++counted;
        if (counted % kProgressStep == 0)
            std::printf("aabb %u/%u\r", counted, total);
    }
}

bool CollectWalk(CompositeObject& object, PointSink& list, WalkSet& walking,
    const BoundsRejectHandler& onReject, bool cornersOfValidBox)
{
    if (cornersOfValidBox && object.data.Aabb.valid) {
        const Aabb& box = object.data.Aabb;
        if (!IsFinitePoint(box.min) || !IsFinitePoint(box.max)) {
            Reject(object, "its box is not finite", onReject);
            return false;
        }
        AppendCorners(box, list);
        return true;
    }
    if (!CollectGeometry(object, list)) {
        Reject(object, "a vertex position is not finite", onReject);
        return false;
    }
    walking.insert(&object);
    CollectInstances(object, list, walking, onReject);
    walking.erase(&object);
    return true;
}

bool CollectInto(CompositeObject& object, PointSink& sink, const BoundsRejectHandler& onReject)
{
    WalkSet walking;
    return CollectWalk(object, sink, walking, onReject, true);
}

// Sets the object's box from the folded points, or leaves it not valid when collecting failed.
Aabb SetBox(CompositeObject& object, const PointSink& folded, bool collected)
{
    object.data.Aabb = collected ? folded.FoldedBox() : Aabb {};
    return object.data.Aabb;
}

} // namespace

bool CollectPoints(CompositeObject& object, PointList& list, const BoundsRejectHandler& onReject)
{
    PointSink sink(list);
    return CollectInto(object, sink, onReject);
}

void BoxFromPoints(Aabb& box, const PointList& list)
{
    box.min = {0.0f, 0.0f, 0.0f};
    box.max = {0.0f, 0.0f, 0.0f};
    if (!list.empty()) {
        box.min = {FLT_MAX, FLT_MAX, FLT_MAX};
        box.max = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
        for (const vx::Vector3& p : list) {
            box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y), std::min(box.min.z, p.z)};
            box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y), std::max(box.max.z, p.z)};
        }
    }
    box.valid = true;
}

Aabb ComputeAabb(CompositeObject& object, const BoundsRejectHandler& onReject)
{
    if (!VX_ASSERT_TEXT(!object.data.Aabb.valid, "!co->data.Aabb.valid"))
        object.data.Aabb.valid = false;
    PointSink folded;
    const bool collected = CollectInto(object, folded, onReject);
    return SetBox(object, folded, collected);
}

Aabb ComputeBounds(CompositeObject& object, const BoundsRejectHandler& onReject)
{
    if (!object.data.Aabb.valid)
        return ComputeAabb(object, onReject);
    PointSink folded;
    // The corners of the current box first, then the content: the box only grows.
    bool collected = CollectInto(object, folded, onReject);
    object.data.Aabb.valid = false;
    collected = collected && CollectInto(object, folded, onReject);
    return SetBox(object, folded, collected);
}

} // namespace ZR
