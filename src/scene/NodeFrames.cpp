#include "scene/NodeFrames.h"

#include "base/Numeric.h"

#include <cmath>

namespace vx {

namespace {

Vector3 ToVector(const HostPoint3& p)
{
    return {p.x, p.y, p.z};
}

HostPoint3 ToPoint(const Vector3& v)
{
    return {v.x, v.y, v.z};
}

Vector3 SwapYZ(const Vector3& v)
{
    return {v.x, v.z, v.y};
}

bool DiffersFromOne(float factor)
{
    return std::fabs(factor - 1.0f) >= 0.001f;
}

} // namespace

Transform ToTransform(const HostMatrix3& m)
{
    return {{ToVector(m.rows[0]), ToVector(m.rows[1]), ToVector(m.rows[2])}, ToVector(m.rows[3])};
}

HostMatrix3 ToHostMatrix(const Transform& t)
{
    HostMatrix3 m;
    m.rows = {ToPoint(t.rows.R0), ToPoint(t.rows.R1), ToPoint(t.rows.R2), ToPoint(t.position)};
    return m;
}

Transform HostPlacementOf(const HostMatrix3& m, float scaleFactor)
{
    const HostAffineParts parts = DecomposeAffine(m);
    const HostMatrix3 rotation = MakeRotationMatrix(parts.q);
    Transform placement = ToTransform(rotation);
    placement.rows.R0 = placement.rows.R0 * parts.f;
    placement.rows.R1 = placement.rows.R1 * parts.f;
    placement.rows.R2 = placement.rows.R2 * parts.f;
    placement.position = ToVector(parts.t) * scaleFactor;
    return placement;
}

Transform DesignPlacementOf(const HostMatrix3& m, float scaleFactor)
{
    return ExchangeYZ(HostPlacementOf(m, scaleFactor));
}

Transform ExchangeYZ(const Transform& t)
{
    return {{SwapYZ(t.rows.R0), SwapYZ(t.rows.R2), SwapYZ(t.rows.R1)}, SwapYZ(t.position)};
}

Vector3 HostScaleFactors(const HostMatrix3& m)
{
    return ToVector(DecomposeAffine(m).k);
}

Vector3 DesignScaleFactors(const HostMatrix3& m)
{
    return SwapYZ(HostScaleFactors(m));
}

Transform ScaleBefore(const Transform& t, const Vector3& scale)
{
    return {{t.rows.R0 * scale.x, t.rows.R1 * scale.y, t.rows.R2 * scale.z}, t.position};
}

Vector3 VertexScaleOf(const Vector3& factors)
{
    const bool uniform = _feqz(factors.x - factors.y) && _feqz(factors.x - factors.z);
    if (uniform)
        return DiffersFromOne(factors.x) ? Vector3 {factors.x, factors.x, factors.x} : Vector3 {1, 1, 1};
    if (DiffersFromOne(factors.x) || DiffersFromOne(factors.y) || DiffersFromOne(factors.z))
        return factors;
    return {1, 1, 1};
}

Vector3 HostExtentOf(const HostBox3& box)
{
    if (box.IsEmpty())
        return {};
    return ToVector(box.max - box.min);
}

bool IsUnitScale(const Vector3& v)
{
    return _feqz(v.x - 1.0f) && _feqz(v.y - 1.0f) && _feqz(v.z - 1.0f);
}

} // namespace vx
