#include "animation/TransformSampling.h"

#include "animation/AnimationTime.h"
#include "animation/DesignValues.h"
#include "animation/QuatHemisphere.h"

#include "base/Numeric.h"
#include "host/Host.h"
#include "host/HostController.h"
#include "host/HostNode.h"
#include "toolkit/VMMessages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace vx {

namespace {

HostInterval Union(const HostInterval& a, const HostInterval& b)
{
    if (IsEmptyInterval(a))
        return b;
    if (IsEmptyInterval(b))
        return a;
    return {std::min(a.start, b.start), std::max(a.end, b.end)};
}

struct SampleTrack {
    HostInterval range = kIntervalNever;
    bool active = false;
};

// The node's transform relative to its parent at t (the host's frame).
HostMatrix3 LocalTransformAt(const HostNode& node, HostTime t, bool decompose)
{
    const HostNode* parent = node.GetParentNode();
    HostMatrix3 world = node.GetNodeTM(t);
    HostMatrix3 parentWorld = parent ? parent->GetNodeTM(t) : HostMatrix3::Identity();
    if (decompose) {
        world = ComposeAffine(DecomposeAffine(world));
        parentWorld = ComposeAffine(DecomposeAffine(parentWorld));
    }
    return world * Inverse(parentWorld);
}

// The design quaternion of the sample q, on the hemisphere of the track's last key: decomposition
// gives w >= 0, which would flip the sign each time the rotation passes half a turn.
Quaternion NextRotation(const VMQuatTrack& track, const HostQuat& q)
{
    const Quaternion value = ToDesignQuaternion(q);
    return track.NumKeys() > 0 ? OnHemisphereOf(value, track.Keys().back().value) : value;
}

float LongestRow(const HostMatrix3& m)
{
    return std::max({GetLength(m.rows[0]), GetLength(m.rows[1]), GetLength(m.rows[2])});
}

bool NearlyEqual(const Vector3& a, const Vector3& b)
{
    return _feqz(a.x - b.x) && _feqz(a.y - b.y) && _feqz(a.z - b.z);
}

bool NearlyEqual(const Quaternion& a, const Quaternion& b)
{
    return _feqz(a.x - b.x) && _feqz(a.y - b.y) && _feqz(a.z - b.z) && _feqz(a.w - b.w);
}

template <class Track> bool NeverChanges(const Track& track)
{
    const auto& keys = track.Keys();
    return std::all_of(keys.begin(), keys.end(),
        [&](const auto& key) { return NearlyEqual(key.value, keys.front().value); });
}

bool NeverChanges(const VMFloatTrack& track)
{
    const auto& keys = track.Keys();
    return std::all_of(keys.begin(), keys.end(),
        [&](const VMFloatKey& key) { return !(std::fabs(key.value - keys.front().value) > 0.01f); });
}

template <class Track> VMRef<VMTrack> KeepIfChanging(const VMRef<Track>& track)
{
    if (!track || track->NumKeys() == 0 || NeverChanges(*track))
        return nullptr;
    return VMRef<VMTrack>(track);
}

} // namespace

HostInterval GetKeyRange(const HostController& controller, const AnimationContext& context)
{
    if (const HostKeyControl* keys = controller.GetKeyControl()) {
        const int count = keys->GetNumKeys();
        if (count <= 0)
            return kIntervalForever;
        HostKey first;
        HostKey last;
        if (!keys->GetKey(0, &first) || !keys->GetKey(count - 1, &last)) {
            ReportError("Exception in GetKey: " + context.objectName);
            return kIntervalNever;
        }
        return {first.time, last.time};
    }
    const int count = controller.NumKeys();
    if (count <= 0)
        return kIntervalForever;
    return {controller.GetKeyTime(0), controller.GetKeyTime(count - 1)};
}

SampledTracks SampleTransform(
    const HostNode& node, const LeftOverControllers& left, const AnimationContext& context)
{
    SampleTrack position;
    SampleTrack rotation;
    SampleTrack scale;
    if (left.position) {
        position = {GetKeyRange(*left.position, context), true};
        rotation = position;
    }
    if (left.rotation)
        rotation = {Union(rotation.range, GetKeyRange(*left.rotation, context)), true};
    if (left.scale)
        scale = {GetKeyRange(*left.scale, context), true};

    HostInterval overall = Union(Union(position.range, rotation.range), scale.range);
    if (IsInfiniteInterval(overall) && context.host) {
        overall = context.host->GetAnimRange();
        for (SampleTrack* track : {&position, &rotation, &scale})
            if (IsInfiniteInterval(track->range))
                track->range = overall;
    }

    auto positions = MakeVMRef<VMVectorTrack>();
    auto rotations = MakeVMRef<VMQuatTrack>();
    auto scales = MakeVMRef<VMFloatTrack>();
    if (!IsEmptyInterval(overall) && !IsInfiniteInterval(overall)) {
        const int64_t ticksPerFrame = context.host ? context.host->GetTicksPerFrame() : 160;
        // A step below one tick would never move on.
        const int64_t step = std::max<int64_t>(1, ticksPerFrame * context.settings.sampleStepFrames);
        const SampleTrack* tracks[3] = {&position, &rotation, &scale};
        for (int64_t t = overall.start; t <= overall.end;) {
            int64_t next = t + step;
            const HostTime time = static_cast<HostTime>(t);
            const HostMatrix3 local = LocalTransformAt(node, time, context.settings.decomposeTransforms);
            const int32_t ms = TicksToMilliseconds(t);
            for (int i = 0; i < 3; ++i) {
                const SampleTrack& track = *tracks[i];
                if (!track.active || IsEmptyInterval(track.range))
                    continue;
                if (IntervalContains(track.range, time)) {
                    if (i == 0)
                        positions->AddKey({ms, ToDesignVector(local.rows[3], context.scaleFactor)});
                    else if (i == 1)
                        rotations->AddKey({ms, NextRotation(*rotations, DecomposeAffine(local).q)});
                    else
                        scales->AddKey({ms, LongestRow(local)});
                    if (next > track.range.end && t != track.range.end)
                        next = std::min<int64_t>(next, track.range.end);
                } else if (t < track.range.start && next > track.range.start) {
                    next = std::min<int64_t>(next, track.range.start);
                }
            }
            t = next;
        }
    }
    SampledTracks result;
    if (position.active)
        result.position = KeepIfChanging(positions);
    if (rotation.active)
        result.rotation = KeepIfChanging(rotations);
    if (scale.active)
        result.scale = KeepIfChanging(scales);
    return result;
}

} // namespace vx
