#pragma once
// Host values of the key-frame export carried into the design frame: metres, the host's y and z
// exchanged.

#include "base/Quaternion.h"
#include "base/Vector3.h"
#include "host/HostMath.h"

namespace vx {

// v exactly 0 when its magnitude is below 2^-16 (_feqz), otherwise v.
float ZeroIfNearZero(float v);

// (x, z, y) x scaleFactor.
Vector3 ToDesignVector(const HostPoint3& p, float scaleFactor);

// The design quaternion of the host rotation q. The host's quaternions turn counter-clockwise
// (right-handed, HostMath.h); exchanging y and z mirrors the frame, which reverses the turning
// sense, so the design quaternion is (-x, -z, -y, w): the original host's quaternions (the
// conjugates of these) with y and z exchanged. Components below 2^-16 become exactly 0, then the
// result is normalised (all zero gives the identity).
Quaternion ToDesignQuaternion(const HostQuat& q);

} // namespace vx
