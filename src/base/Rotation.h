#pragma once
// Rotation rows: a 3 x 3 matrix of 32-bit floats kept as three rows. Row i is the image of local
// axis i (R0 the local x axis, R1 the local y axis, R2 the local z axis); a point p is carried to
// p.x R0 + p.y R1 + p.z R2. The rows may carry scale: the length of row i is the size along local
// axis i.

#include "base/Vector3.h"

namespace vx {

struct Rotation {
    Vector3 R0 {1.0f, 0.0f, 0.0f};
    Vector3 R1 {0.0f, 1.0f, 0.0f};
    Vector3 R2 {0.0f, 0.0f, 1.0f};

    friend bool operator==(const Rotation&, const Rotation&) = default;
};

// The identity rows (also what a default-constructed Rotation holds).
inline Rotation IdentityRotation()
{
    return Rotation {};
}

// The rows scaled uniformly by factor: (factor, 0, 0), (0, factor, 0), (0, 0, factor).
inline Rotation UniformScaleRotation(float factor)
{
    return {{factor, 0.0f, 0.0f}, {0.0f, factor, 0.0f}, {0.0f, 0.0f, factor}};
}

// p carried by the rows: p.x R0 + p.y R1 + p.z R2 (no position).
Vector3 ApplyRows(const Rotation& rows, const Vector3& p);

// The 3 x 3 product a x b: applying the result equals applying a, then b. Computed in double
// precision and rounded once to float.
Rotation Multiply(const Rotation& a, const Rotation& b);

// The inverse of m: its adjugate divided by its determinant. When the determinant is exactly 0
// the adjugate is returned undivided (finite, and the caller's result degenerates instead of
// turning into infinities). Computed in double precision.
Rotation Inverse(const Rotation& m);

// The transpose of m: for a rotation (unit, orthogonal rows) its inverse.
inline Rotation Transpose(const Rotation& m)
{
    return {{m.R0.x, m.R1.x, m.R2.x}, {m.R0.y, m.R1.y, m.R2.y}, {m.R0.z, m.R1.z, m.R2.z}};
}

// The determinant of m, in double precision: negative when m mirrors, 0 when it is singular.
double Determinant(const Rotation& m);

// When length - 1 is not near zero (_feqz), each component of row is multiplied by 1 / length;
// otherwise row stays unchanged. A row of length exactly 0 also stays unchanged (there is no
// direction to keep). A NaN length turns the row into NaNs.
void NormaliseIfNeeded(Vector3& row, long double length);

} // namespace vx
