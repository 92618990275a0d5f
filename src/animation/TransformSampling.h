#pragma once
// Samples of a node's transform for the parts of its animation that no key track covers.

#include "animation/AnimationContext.h"

#include "host/HostInterval.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMTrack.h"

namespace vx {

class HostController;
class HostNode;

// The controllers left over for sampling; null for a part that is not sampled.
struct LeftOverControllers {
    const HostController* position = nullptr;
    const HostController* rotation = nullptr;
    const HostController* scale = nullptr;
};

// The sampled tracks; null for a part that was not sampled or whose samples never changed.
struct SampledTracks {
    VMRef<VMTrack> position; // VMVectorTrack
    VMRef<VMTrack> rotation; // VMQuatTrack (also made for a left-over position)
    VMRef<VMTrack> scale; // VMFloatTrack
};

// The key range of a left-over controller: its first and last key time, from its key interface or
// else its own key list; "forever" when it has no keys. A key that cannot be read leaves the range
// empty and reports "Exception in GetKey: " + context.objectName to the message log.
HostInterval GetKeyRange(const HostController& controller, const AnimationContext& context);

// Samples node's transform relative to its parent, in the design frame, every sampleStepFrames
// frames (at least one tick) across the union of the key ranges (the scene's animation range
// where that is unbounded), adding the end of each track's range and pulling the next sample to a
// range's start when it would pass it. Times are 64-bit, so the loop ends at the end of host time.
// Rotation samples are kept on the hemisphere of the sample before them (QuatHemisphere.h).
// A track whose samples never change (positions and rotations within 2^-16 per component of the
// first sample, scales within 0.01) is dropped.
SampledTracks SampleTransform(
    const HostNode& node, const LeftOverControllers& left, const AnimationContext& context);

} // namespace vx
