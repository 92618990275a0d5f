#pragma once
// A rotation as a quaternion of four 32-bit floats x, y, z, w.

namespace vx {

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

// q with each component multiplied by 1 / sqrt(x² + y² + z² + w²). A quaternion whose components
// are all zero has no rotation to keep and gives the identity (0, 0, 0, 1); NaN components give
// NaNs.
Quaternion NormaliseQuaternion(const Quaternion& q);

} // namespace vx
