#include "base/Quaternion.h"

#include <cmath>

namespace vx {

Quaternion NormaliseQuaternion(const Quaternion& q)
{
    const double x = q.x;
    const double y = q.y;
    const double z = q.z;
    const double w = q.w;
    const double squares = x * x + y * y + z * z + w * w;
    if (squares == 0.0)
        return Quaternion {};
    const double inverse = 1.0 / std::sqrt(squares);
    return {static_cast<float>(x * inverse), static_cast<float>(y * inverse), static_cast<float>(z * inverse),
        static_cast<float>(w * inverse)};
}

} // namespace vx
