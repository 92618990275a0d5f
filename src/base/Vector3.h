#pragma once
// A point, direction or size of the design: three 32-bit floats.

#include <cmath>

namespace vx {

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    friend bool operator==(const Vector3&, const Vector3&) = default;
};

inline Vector3 operator+(const Vector3& a, const Vector3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector3 operator-(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector3 operator*(const Vector3& v, float s)
{
    return {v.x * s, v.y * s, v.z * s};
}
inline Vector3 operator*(float s, const Vector3& v)
{
    return v * s;
}

// Length of v: sqrt(x² + y² + z²) computed in extended precision, so that no finite float
// components overflow or lose the small ones. NaN components give NaN, infinite ones infinity.
inline long double Length(const Vector3& v)
{
    const long double x = v.x;
    const long double y = v.y;
    const long double z = v.z;
    return std::sqrt(x * x + y * y + z * z);
}

} // namespace vx
