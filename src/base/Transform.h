#pragma once
// A transform: rotation rows (which may carry scale) and a position. A point p is carried to
// p.x R0 + p.y R1 + p.z R2 + position.

#include "base/Rotation.h"
#include "base/Vector3.h"

namespace vx {

struct Transform {
    Rotation rows;
    Vector3 position;

    friend bool operator==(const Transform&, const Transform&) = default;
};

// The identity transform (also what a default-constructed Transform holds).
inline Transform IdentityTransform()
{
    return Transform {};
}

// The uniform scale by factor about the origin.
inline Transform UniformScaleTransform(float factor)
{
    return {UniformScaleRotation(factor), Vector3 {}};
}

// p carried by the transform: the rows first, then the position.
inline Vector3 ApplyTransform(const Transform& t, const Vector3& p)
{
    return ApplyRows(t.rows, p) + t.position;
}

} // namespace vx
