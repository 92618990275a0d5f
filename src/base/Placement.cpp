#include "base/Placement.h"

#include "base/Numeric.h"

#include <cmath>
#include <numbers>

namespace vx {

namespace {

constexpr double kDegreesPerRadian = 57.2957763671875;

struct Extended {
    long double x;
    long double y;
    long double z;
};

Extended Widen(const Vector3& v)
{
    return {v.x, v.y, v.z};
}

long double Dot(const Extended& a, const Extended& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// asin with its argument limited to -1 ... 1; a NaN stays NaN.
long double ClampedArcSine(long double v)
{
    constexpr long double halfPi = std::numbers::pi_v<long double> / 2;
    if (v >= 1.0L)
        return halfPi;
    if (v <= -1.0L)
        return -halfPi;
    return std::asin(v);
}

float StoredAngle(float radians)
{
    return static_cast<float>(RoundTo(-(static_cast<double>(radians) * kDegreesPerRadian), 0.1));
}

} // namespace

AzElTw DecomposeAzElTw(const Vector3& R0, const Vector3& R1, const Vector3& R2)
{
    const Extended r0 = Widen(R0);
    const Extended r1 = Widen(R1);
    const Extended r2 = Widen(R2);
    const long double elevation = -ClampedArcSine(r2.y);
    const long double azimuth = std::atan2(r2.x, r2.z);
    const Extended up {-std::sin(azimuth) * r2.y, std::cos(elevation), -std::cos(azimuth) * r2.y};
    long double twist = ClampedArcSine(Dot(r0, up));
    if (Dot(r1, up) < 0.0L)
        twist = static_cast<long double>(std::numbers::pi) - twist;
    return {static_cast<float>(azimuth), static_cast<float>(elevation), static_cast<float>(twist)};
}

PlacementAndSizes TransformToPlacement(const Rotation& rows, const Vector3& position)
{
    const long double l0 = Length(rows.R0);
    const long double l1 = Length(rows.R1);
    const long double l2 = Length(rows.R2);
    Rotation unit = rows;
    NormaliseIfNeeded(unit.R0, l0);
    NormaliseIfNeeded(unit.R1, l1);
    NormaliseIfNeeded(unit.R2, l2);
    // The angles are those of the rows in the stored axis order: the design frame's second and
    // third rows, and the second and third component of each, exchanged back.
    const auto stored = [](const Vector3& v) { return Vector3 {v.x, v.z, v.y}; };
    const AzElTw angles = DecomposeAzElTw(stored(unit.R0), stored(unit.R2), stored(unit.R1));

    PlacementAndSizes result;
    result.placement.x = position.x;
    result.placement.y = position.z;
    result.placement.z = position.y;
    result.placement.azimuth = StoredAngle(angles.azimuth);
    result.placement.elevation = StoredAngle(angles.elevation);
    result.placement.twist = StoredAngle(angles.twist);
    result.sizes = {static_cast<float>(l0), static_cast<float>(l2), static_cast<float>(l1)};
    return result;
}

} // namespace vx
