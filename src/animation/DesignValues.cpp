#include "animation/DesignValues.h"

#include "base/Numeric.h"

namespace vx {

float ZeroIfNearZero(float v)
{
    return _feqz(v) ? 0.0f : v;
}

Vector3 ToDesignVector(const HostPoint3& p, float scaleFactor)
{
    return Vector3 {p.x, p.z, p.y} * scaleFactor;
}

Quaternion ToDesignQuaternion(const HostQuat& q)
{
    const Quaternion mirrored {
        ZeroIfNearZero(-q.x), ZeroIfNearZero(-q.z), ZeroIfNearZero(-q.y), ZeroIfNearZero(q.w)};
    return NormaliseQuaternion(mirrored);
}

} // namespace vx
