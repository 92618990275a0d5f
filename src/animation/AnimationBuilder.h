#pragma once
// AnimationBuilder: the key-frame export of one host node. Build reads the node's transform
// controllers into key tracks (the host's own keys, a path, or samples of the transform); Serialise
// writes them as the animation blob. One builder serves one node.

#include "animation/AnimationContext.h"
#include "animation/AnimationKind.h"
#include "animation/TrackSharing.h"

#include "base/PointerMap.h"
#include "toolkit/VMPathController.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMTrack.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

class HostController;
class HostNode;

class AnimationBuilder {
public:
    // The track slots.
    static constexpr int kSlotPosition = 0; // vector track
    static constexpr int kSlotRotation = 1; // quaternion track
    static constexpr int kSlotScale = 2; // float track
    static constexpr int kSlotPercentage = 3; // float track of a path's position

    explicit AnimationBuilder(AnimationContext context);
    AnimationBuilder(const AnimationBuilder&) = delete;
    AnimationBuilder& operator=(const AnimationBuilder&) = delete;

    // Fills the track slots and the kind from node's transform controllers. Controllers that are not
    // animated, whose key interface has fewer than 2 keys, or whose X, Y and Z sub-controllers are
    // all static are dropped; with none left the kind stays kAnimationNone. Otherwise the kind is
    // kAnimationKeys, or kAnimationPath for a path constraint position: the path fills slots 0, 2
    // and 3 when it can be made. Unless forceSampling, keys are read from the key-frame classes (XYZ
    // position and Euler rotation through a temporary controller of the host); every part left is
    // sampled. Temporary controllers are released before Build returns.
    void Build(const HostNode& node);

    // Writes the animation blob (see SerialiseAnimation) into the builder's blob and returns its
    // size in bytes; 0, with an empty blob, when nothing is animated.
    std::size_t Serialise();

    int32_t GetKind() const { return kind_; }
    const VMRef<VMTrack>& GetSlot(int slot) const { return slots_[static_cast<size_t>(slot)]; }
    // The path controller of a path animation; null otherwise.
    const VMRef<VMPathController>& GetPathController() const { return pathController_; }
    const std::vector<unsigned char>& GetBlob() const { return blob_; }

private:
    // Each step returns whether its part is done.
    bool BuildPositionKeys(const HostController& position);
    bool BuildRotationKeys(const HostController& rotation);
    bool BuildScaleKeys(const HostController& scale);
    // The keys of an XYZ or Euler controller copied into a temporary controller of classId, read
    // with makeTrack; null when the sub-controllers differ in class or the host cannot help.
    template <class MakeTrack>
    VMRef<VMTrack> ReadThroughTemporary(const HostController& xyz, bool rotation, MakeTrack makeTrack);

    AnimationContext context_;
    int32_t kind_ = kAnimationNone;
    std::array<VMRef<VMTrack>, 4> slots_;
    VMRef<VMPathController> pathController_;
    TrackSharing sharing_;
    PointerMap<VMTrack*> pathTracks_;
    std::vector<unsigned char> blob_;
};

} // namespace vx
