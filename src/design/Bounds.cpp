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
#include <unordered_set>

namespace ZR {

namespace {

constexpr std::size_t kMinPoints = 4096;
constexpr uint32_t kProgressStep = 1024;

// The objects whose points are being collected, from the outermost call inwards.
using WalkSet = std::unordered_set<const CompositeObject*>;

bool IsFinitePoint(const vx::Vector3& p)
{
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

void Reject(const CompositeObject& object, const char* what, const BoundsRejectHandler& onReject)
{
    vx::WriteDebugOutputF("Bounding box of \"%s\": %s\r\n", object.name.c_str(), what);
    if (onReject)
        onReject(object, what);
}

void AppendCorners(const Aabb& box, PointList& list)
{
    const vx::Vector3 lo {std::min(box.min.x, box.max.x), std::min(box.min.y, box.max.y),
        std::min(box.min.z, box.max.z)};
    const vx::Vector3 hi {std::max(box.min.x, box.max.x), std::max(box.min.y, box.max.y),
        std::max(box.min.z, box.max.z)};
    list.push_back({lo.x, lo.y, lo.z});
    list.push_back({lo.x, lo.y, hi.z});
    list.push_back({lo.x, hi.y, lo.z});
    list.push_back({lo.x, hi.y, hi.z});
    list.push_back({hi.x, lo.y, lo.z});
    list.push_back({hi.x, lo.y, hi.z});
    list.push_back({hi.x, hi.y, lo.z});
    list.push_back({hi.x, hi.y, hi.z});
}

bool CollectGeometry(const CompositeObject& object, PointList& list)
{
    for (const ModelPair& pair : object.data.Model.pairs) {
        if (!pair.vd)
            continue;
        const vx::Transform transform = pair.transform.ToTransform();
        for (int32_t i = 0; i < pair.vd->vertexCount; ++i) {
            const vx::Vector3 p = pair.vd->GetPosition(i);
            // The vertex data holds database-order coordinates: swap the second and third back.
            const vx::Vector3 placed = vx::ApplyTransform(transform, {p.x, p.z, p.y});
            if (!IsFinitePoint(placed))
                return false;
            list.push_back(placed);
        }
    }
    return true;
}

bool CollectWalk(CompositeObject& object, PointList& list, WalkSet& walking, const BoundsRejectHandler& onReject);

void CollectInstances(CompositeObject& object, PointList& list, WalkSet& walking, const BoundsRejectHandler& onReject)
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
        PointList placed = NewPointList(*target);
        if (!CollectWalk(*target, placed, walking, onReject))
            continue;
        const vx::Transform transform {instance->placement.matrix, instance->placement.position};
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
        list.insert(list.end(), placed.begin(), placed.end());
        ++counted;
        if (counted % kProgressStep == 0)
            std::printf("aabb %u/%u\r", counted, total);
    }
}

bool CollectWalk(CompositeObject& object, PointList& list, WalkSet& walking, const BoundsRejectHandler& onReject)
{
    if (object.data.Aabb.valid) {
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

// Sets the object's box from list, or leaves it not valid when collecting failed.
Aabb SetBox(CompositeObject& object, const PointList& list, bool collected)
{
    if (collected)
        BoxFromPoints(object.data.Aabb, list);
    else
        object.data.Aabb = Aabb {};
    return object.data.Aabb;
}

} // namespace

bool CollectPoints(CompositeObject& object, PointList& list, const BoundsRejectHandler& onReject)
{
    WalkSet walking;
    return CollectWalk(object, list, walking, onReject);
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
    PointList list = NewPointList(object);
    const bool collected = CollectPoints(object, list, onReject);
    return SetBox(object, list, collected);
}

Aabb ComputeBounds(CompositeObject& object, const BoundsRejectHandler& onReject)
{
    if (!object.data.Aabb.valid)
        return ComputeAabb(object, onReject);
    PointList list = NewPointList(object);
    list.reserve(list.capacity() + 8);
    // The corners of the current box first, then the content: the box only grows.
    bool collected = CollectPoints(object, list, onReject);
    object.data.Aabb.valid = false;
    collected = collected && CollectPoints(object, list, onReject);
    return SetBox(object, list, collected);
}

} // namespace ZR
