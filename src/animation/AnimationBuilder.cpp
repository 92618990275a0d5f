#include "animation/AnimationBuilder.h"

#include "animation/AnimationBlob.h"
#include "animation/ControllerClasses.h"
#include "animation/KeyTracks.h"
#include "animation/PathTrack.h"
#include "animation/TransformSampling.h"

#include "host/Host.h"
#include "host/HostController.h"
#include "host/HostNode.h"

#include <optional>
#include <utility>

namespace vx {

namespace {

bool IsStatic(const HostController* controller);

// All three sub-controllers present and static. A missing sub-controller is not static.
bool HasStaticXyz(const HostController& controller)
{
    const HostController* sub[3]
        = {controller.GetXController(), controller.GetYController(), controller.GetZController()};
    for (const HostController* c : sub)
        if (!c || !IsStatic(c))
            return false;
    return true;
}

bool IsStatic(const HostController* controller)
{
    if (!controller->IsAnimated())
        return true;
    if (const HostKeyControl* keys = controller->GetKeyControl(); keys && keys->GetNumKeys() < 2)
        return true;
    return HasStaticXyz(*controller);
}

const HostController* DropStatic(const HostController* controller)
{
    return controller && !IsStatic(controller) ? controller : nullptr;
}

// The class shared by the three float sub-controllers (linear, Bezier or TCB float); nullopt when
// one is missing or they differ.
std::optional<HostClassId> CommonFloatClass(const HostController& xyz)
{
    const HostController* sub[3] = {xyz.GetXController(), xyz.GetYController(), xyz.GetZController()};
    for (const HostController* c : sub)
        if (!c || c->GetClassId() != sub[0]->GetClassId())
            return std::nullopt;
    const HostClassId id = sub[0]->GetClassId();
    if (!IsKeyFloatClass(id))
        return std::nullopt;
    return id;
}

// The temporary position controller that takes the keys of float sub-controllers of floatClass.
HostClassId PositionClassFor(const HostClassId& floatClass)
{
    if (floatClass == kTcbFloatClass)
        return kTcbPositionClass;
    if (floatClass == kBezierFloatClass)
        return kBezierPositionClass;
    return kLinearPositionClass;
}

} // namespace

AnimationBuilder::AnimationBuilder(AnimationContext context)
    : context_(std::move(context))
{
}

template <class MakeTrack>
VMRef<VMTrack> AnimationBuilder::ReadThroughTemporary(
    const HostController& xyz, bool rotation, MakeTrack makeTrack)
{
    const auto floatClass = CommonFloatClass(xyz);
    if (!floatClass || !context_.host)
        return nullptr;
    HostController* temporary
        = context_.host->CreateController(rotation ? kLinearRotationClass : PositionClassFor(*floatClass));
    if (!temporary)
        return nullptr;
    VMRef<VMTrack> track;
    if (temporary->Copy(&xyz))
        track = makeTrack(*temporary);
    temporary->DeleteThis();
    return track;
}

bool AnimationBuilder::BuildPositionKeys(const HostController& position)
{
    const HostClassId id = position.GetClassId();
    VMRef<VMTrack>& slot = slots_[kSlotPosition];
    if (IsXyzPositionClass(id) || IsEulerClass(id))
        slot = ReadThroughTemporary(
            position, false, [this](const HostController& c) { return MakePositionKeyTrack(c, context_); });
    else if (IsKeyControllerClass(id))
        slot = MakePositionKeyTrack(position, context_);
    if (!slot)
        return false;
    slot = sharing_.Share(slot);
    return true;
}

bool AnimationBuilder::BuildRotationKeys(const HostController& rotation)
{
    const HostClassId id = rotation.GetClassId();
    VMRef<VMTrack>& slot = slots_[kSlotRotation];
    if (IsEulerClass(id))
        slot = ReadThroughTemporary(
            rotation, true, [](const HostController& c) { return MakeRotationKeyTrack(c); });
    else if (IsKeyControllerClass(id))
        slot = MakeRotationKeyTrack(rotation);
    if (!slot)
        return false;
    slot = sharing_.Share(slot);
    return true;
}

bool AnimationBuilder::BuildScaleKeys(const HostController& scale)
{
    if (!IsKeyControllerClass(scale.GetClassId()))
        return false;
    VMRef<VMTrack>& slot = slots_[kSlotScale];
    slot = MakeScaleKeyTrack(scale);
    if (!slot)
        return false;
    slot = sharing_.Share(slot);
    return true;
}

void AnimationBuilder::Build(const HostNode& node)
{
    const HostController* transform = node.GetTMController();
    if (!transform)
        return;
    const HostController* position = DropStatic(transform->GetPositionController());
    const HostController* rotation = DropStatic(transform->GetRotationController());
    const HostController* scale = DropStatic(transform->GetScaleController());
    if (!position && !rotation && !scale)
        return;

    kind_ = kAnimationKeys;
    bool positionDone = false;
    bool rotationDone = false;
    bool scaleDone = false;
    if (!context_.settings.forceSampling) {
        if (position && position->GetClassId() == kPathConstraintClass) {
            kind_ = kAnimationPath;
            pathController_ = MakePathController(*position, context_, sharing_, pathTracks_);
            if (pathController_) {
                slots_[kSlotPosition] = pathController_->GetTrack("Path");
                slots_[kSlotScale] = pathController_->GetTrack("Scaling");
                slots_[kSlotPercentage] = pathController_->GetTrack("Waypoints");
                return;
            }
        } else if (position) {
            positionDone = BuildPositionKeys(*position);
        }
        if (rotation && (positionDone || !position))
            rotationDone = BuildRotationKeys(*rotation);
        if (scale)
            scaleDone = BuildScaleKeys(*scale);
    }

    LeftOverControllers left;
    left.position = positionDone ? nullptr : position;
    left.rotation = rotationDone ? nullptr : rotation;
    left.scale = scaleDone ? nullptr : scale;
    if (!left.position && !left.rotation && !left.scale)
        return;
    SampledTracks sampled = SampleTransform(node, left, context_);
    if (left.position)
        slots_[kSlotPosition] = sharing_.Share(std::move(sampled.position));
    if (!rotationDone && (left.position || left.rotation))
        slots_[kSlotRotation] = sharing_.Share(std::move(sampled.rotation));
    if (left.scale)
        slots_[kSlotScale] = sharing_.Share(std::move(sampled.scale));
}

std::size_t AnimationBuilder::Serialise()
{
    blob_.clear();
    if (kind_ == kAnimationNone)
        return 0;
    HostInterval range {0, 0};
    if (context_.host)
        range = context_.host->GetAnimRange();
    blob_ = SerialiseAnimation(kind_, range, slots_);
    return blob_.size();
}

} // namespace vx
