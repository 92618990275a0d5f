#include "animation/QuatHemisphere.h"

namespace vx {

Quaternion OnHemisphereOf(const Quaternion& q, const Quaternion& previous)
{
    const float dot = q.x * previous.x + q.y * previous.y + q.z * previous.z + q.w * previous.w;
    if (dot < 0.0f)
        return {-q.x, -q.y, -q.z, -q.w};
    return q;
}

} // namespace vx
