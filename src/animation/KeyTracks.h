#pragma once
// Tracks made from the keys of the host's key-frame controllers, in the design frame with times in
// milliseconds.

#include "animation/AnimationContext.h"

#include "toolkit/VMRef.h"
#include "toolkit/VMTrack.h"

namespace vx {

class HostController;

// The position keys of controller: a VMVectorTCBTrack for the TCB position-like classes (TCB values
// near zero become 0), a VMVectorBezierTrack for the Bezier position-like classes (tangents scaled
// by the ticks to the neighbouring keys, so the first in- and the last out-tangent are zero), a
// VMVectorTrack for linear position. Null for other classes, without a key interface, with fewer
// than 2 keys, or when a key cannot be read.
VMRef<VMTrack> MakePositionKeyTrack(const HostController& controller, const AnimationContext& context);

// The rotation keys: a VMQuatTCBTrack for TCB rotation (key k is the running quaternion product of
// the relative rotations of keys 0..k, with the sign the product gives, so a reader interpolating
// between neighbours turns by each key's relative angle, past 180 degrees too), a VMQuatSmoothTrack
// for smooth rotation, a VMQuatTrack for linear rotation (each key on the hemisphere of the key
// before it, see QuatHemisphere.h); quaternions carried into the design frame. Null as above.
VMRef<VMTrack> MakeRotationKeyTrack(const HostController& controller);

// The scale keys as a VMFloatTrack of the largest of each key's three factors, for linear and
// Bezier scale (Bezier tangents are dropped, which is reported as "Exporting bezier scaling as
// linear"). Null as above.
VMRef<VMTrack> MakeScaleKeyTrack(const HostController& controller);

// A float controller (the path percentage) as a VMFloatTrack: the keys of linear, Bezier and TCB
// float controllers (unless forceSampling); otherwise, when it is animated, samples of its value
// (see the definition). Null when nothing results.
VMRef<VMTrack> MakeFloatTrack(const HostController& controller, const AnimationContext& context);

} // namespace vx
