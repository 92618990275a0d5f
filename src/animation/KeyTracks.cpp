#include "animation/KeyTracks.h"

#include "animation/AnimationTime.h"
#include "animation/ControllerClasses.h"
#include "animation/DesignValues.h"
#include "animation/QuatHemisphere.h"

#include "host/Host.h"
#include "host/HostController.h"
#include "toolkit/VMMessages.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vx {

namespace {

// Every key of controller's key interface; nullopt without one, with fewer than 2 keys, or when a
// key cannot be read.
std::optional<std::vector<HostKey>> ReadKeys(const HostController& controller, int minimumKeys = 2)
{
    const HostKeyControl* keys = controller.GetKeyControl();
    if (!keys)
        return std::nullopt;
    const int count = keys->GetNumKeys();
    if (count < minimumKeys || count <= 0)
        return std::nullopt;
    std::vector<HostKey> result(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (!keys->GetKey(i, &result[static_cast<size_t>(i)]))
            return std::nullopt;
    return result;
}

float LargestFactor(const HostPoint3& p)
{
    return std::max({p.x, p.y, p.z});
}

VMRef<VMTrack> MakeTcbPositionTrack(const std::vector<HostKey>& keys, float scaleFactor)
{
    auto track = MakeVMRef<VMVectorTCBTrack>();
    for (const HostKey& key : keys)
        track->AddKey({TicksToMilliseconds(key.time), ToDesignVector(key.point, scaleFactor),
            ZeroIfNearZero(key.tension), ZeroIfNearZero(key.continuity), ZeroIfNearZero(key.bias)});
    return track;
}

VMRef<VMTrack> MakeBezierPositionTrack(const std::vector<HostKey>& keys, float scaleFactor)
{
    auto track = MakeVMRef<VMVectorBezierTrack>();
    for (size_t k = 0; k < keys.size(); ++k) {
        const HostKey& key = keys[k];
        // Tick differences in 64 bits: keys at both ends of the time range stay finite.
        const int64_t previous = keys[k > 0 ? k - 1 : k].time;
        const int64_t next = keys[k + 1 < keys.size() ? k + 1 : k].time;
        const float toPrevious = static_cast<float>(previous - key.time);
        const float toNext = static_cast<float>(next - key.time);
        track->AddKey({TicksToMilliseconds(key.time), ToDesignVector(key.point, scaleFactor),
            ToDesignVector(key.inTangent, scaleFactor) * toPrevious,
            ToDesignVector(key.outTangent, scaleFactor) * toNext});
    }
    return track;
}

VMRef<VMTrack> MakeLinearPositionTrack(const std::vector<HostKey>& keys, float scaleFactor)
{
    auto track = MakeVMRef<VMVectorTrack>();
    for (const HostKey& key : keys)
        track->AddKey({TicksToMilliseconds(key.time), ToDesignVector(key.point, scaleFactor)});
    return track;
}

// Absolute rotations: their sign is open, so each key is kept on the hemisphere of the key before it.
template <class Track> VMRef<VMTrack> MakeQuatTrack(const std::vector<HostKey>& keys)
{
    auto track = MakeVMRef<Track>();
    for (const HostKey& key : keys) {
        Quaternion value = ToDesignQuaternion(key.quat);
        if (track->NumKeys() > 0)
            value = OnHemisphereOf(value, track->Keys().back().value);
        track->AddKey({TicksToMilliseconds(key.time), value});
    }
    return track;
}

// Relative rotations: the running product is built as quaternions, whose signs carry the turns (a
// wheel past half a turn stays on its way round instead of flipping back to w >= 0).
VMRef<VMTrack> MakeTcbRotationTrack(const std::vector<HostKey>& keys)
{
    auto track = MakeVMRef<VMQuatTCBTrack>();
    HostQuat running;
    for (const HostKey& key : keys) {
        running = ComposeQuats(running, MakeQuatFromAxisAngle(key.axis, key.angle));
        track->AddKey({TicksToMilliseconds(key.time), ToDesignQuaternion(running),
            ZeroIfNearZero(key.tension), ZeroIfNearZero(key.continuity), ZeroIfNearZero(key.bias)});
    }
    return track;
}

// floor(a / b) for b > 0.
int64_t FloorDivide(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

VMRef<VMTrack> SampleFloatController(const HostController& controller, const AnimationContext& context)
{
    if (!context.host)
        return nullptr;
    const HostInterval range = controller.GetTimeRange();
    const HostInterval scene = context.host->GetAnimRange();
    if (IsEmptyInterval(range) || IsEmptyInterval(scene))
        return nullptr;
    const int64_t ticksPerFrame = std::max(1, context.host->GetTicksPerFrame());
    auto track = MakeVMRef<VMFloatTrack>();
    // A range that starts before the scene (an unbounded one, say) is sampled from the scene's start.
    int64_t t = std::max<int64_t>(range.start, scene.start);
    while (t >= scene.start && t <= scene.end) {
        HostInterval valid = kIntervalForever;
        const HostControllerValue value = controller.GetValue(static_cast<HostTime>(t), &valid);
        track->AddKey({TicksToMilliseconds(t), value.value});
        if (valid.end > range.end)
            break;
        const int64_t next
            = (FloorDivide(valid.end, ticksPerFrame) + context.settings.sampleStepFrames) * ticksPerFrame;
        // Times are 64-bit, so a validity up to the end of host time ends the loop instead of
        // wrapping around; a step that would not move on moves one tick.
        t = std::max(next, t + 1);
    }
    return track->NumKeys() > 0 ? VMRef<VMTrack>(track) : nullptr;
}

} // namespace

VMRef<VMTrack> MakePositionKeyTrack(const HostController& controller, const AnimationContext& context)
{
    const HostClassId id = controller.GetClassId();
    const bool tcb = id == kTcbPositionClass || id == kTcbPointClass;
    const bool bezier = id == kBezierPositionClass || id == kPathConstraintClass || id == kBezierPointClass;
    if (!tcb && !bezier && id != kLinearPositionClass)
        return nullptr;
    const auto keys = ReadKeys(controller);
    if (!keys)
        return nullptr;
    if (tcb)
        return MakeTcbPositionTrack(*keys, context.scaleFactor);
    if (bezier)
        return MakeBezierPositionTrack(*keys, context.scaleFactor);
    return MakeLinearPositionTrack(*keys, context.scaleFactor);
}

VMRef<VMTrack> MakeRotationKeyTrack(const HostController& controller)
{
    const HostClassId id = controller.GetClassId();
    if (id != kTcbRotationClass && id != kSmoothRotationClass && id != kLinearRotationClass)
        return nullptr;
    const auto keys = ReadKeys(controller);
    if (!keys)
        return nullptr;
    if (id == kTcbRotationClass)
        return MakeTcbRotationTrack(*keys);
    if (id == kSmoothRotationClass)
        return MakeQuatTrack<VMQuatSmoothTrack>(*keys);
    return MakeQuatTrack<VMQuatTrack>(*keys);
}

VMRef<VMTrack> MakeScaleKeyTrack(const HostController& controller)
{
    const HostClassId id = controller.GetClassId();
    if (id != kBezierScaleClass && id != kLinearScaleClass)
        return nullptr;
    const auto keys = ReadKeys(controller);
    if (!keys)
        return nullptr;
    if (id == kBezierScaleClass)
        ReportWarning("Exporting bezier scaling as linear");
    auto track = MakeVMRef<VMFloatTrack>();
    for (const HostKey& key : *keys)
        track->AddKey({TicksToMilliseconds(key.time), LargestFactor(key.point)});
    return track;
}

VMRef<VMTrack> MakeFloatTrack(const HostController& controller, const AnimationContext& context)
{
    if (!context.settings.forceSampling && IsKeyFloatClass(controller.GetClassId())) {
        const auto keys = ReadKeys(controller, 1);
        if (!keys)
            return nullptr;
        auto track = MakeVMRef<VMFloatTrack>();
        for (const HostKey& key : *keys)
            track->AddKey({TicksToMilliseconds(key.time), key.value});
        return track;
    }
    if (!controller.IsAnimated())
        return nullptr;
    return SampleFloatController(controller, context);
}

} // namespace vx
