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

HostMatrix3 RigidFrameOf(const HostMatrix3& m)
{
    const HostAffineParts parts = DecomposeAffine(m);
    HostMatrix3 rigid = MakeRotationMatrix(parts.q);
    rigid.rows[3] = parts.t;
    return rigid;
}

bool IsMirrored(const HostMatrix3& m)
{
    return Determinant(ToTransform(m).rows) < 0.0;
}

HostMatrix3 UnmirroredFrameOf(const HostMatrix3& m)
{
    if (!IsMirrored(m))
        return m;
    HostMatrix3 unmirrored = m;
    for (int i = 0; i < 3; ++i)
        unmirrored.rows[static_cast<std::size_t>(i)] = m.rows[static_cast<std::size_t>(i)] * -1.0f;
    return unmirrored;
}

Transform DesignRigidPlacementOf(const HostMatrix3& m, float scaleFactor)
{
    Transform rigid = ToTransform(RigidFrameOf(m));
    rigid.position = rigid.position * scaleFactor;
    return ExchangeYZ(rigid);
}

Transform DesignTransformOf(const HostMatrix3& m, float scaleFactor)
{
    Transform all = ToTransform(m);
    all.position = all.position * scaleFactor;
    return ExchangeYZ(all);
}

Transform DesignResidualOf(const HostMatrix3& m)
{
    const Rotation rigidRows = ToTransform(RigidFrameOf(m)).rows;
    // m's rows = residual x rigid rows, so residual = m's rows x inverse(rigid rows); the rigid rows
    // are a rotation, whose inverse is its transpose.
    const Rotation residual = Multiply(ToTransform(m).rows, Transpose(rigidRows));
    const auto near = [](const Vector3& a, const Vector3& b) {
        return std::fabs(a.x - b.x) <= 1e-6f && std::fabs(a.y - b.y) <= 1e-6f
            && std::fabs(a.z - b.z) <= 1e-6f;
    };
    const Rotation identity {};
    if (near(residual.R0, identity.R0) && near(residual.R1, identity.R1) && near(residual.R2, identity.R2))
        return IdentityTransform();
    return ExchangeYZ({residual, Vector3 {}});
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
