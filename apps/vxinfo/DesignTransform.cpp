#include "vxinfo/DesignTransform.h"

#include <cmath>

namespace vxinfo {

Vec3 Affine::Apply(const Vec3& p) const
{
    Vec3 r {};
    for (int i = 0; i < 3; ++i)
        r[i] = m[i] * p[0] + m[4 + i] * p[1] + m[8 + i] * p[2] + m[12 + i];
    return r;
}

Vec3 Affine::ApplyDirection(const Vec3& d) const
{
    Vec3 r {};
    for (int i = 0; i < 3; ++i)
        r[i] = m[i] * d[0] + m[4 + i] * d[1] + m[8 + i] * d[2];
    return r;
}

bool Affine::IsIdentity() const
{
    return m == Affine {}.m;
}

Affine Multiply(const Affine& a, const Affine& b)
{
    Affine r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a.m[k * 4 + row] * b.m[c * 4 + k];
            r.m[c * 4 + row] = sum;
        }
    return r;
}

namespace {

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

} // namespace

Affine PlacementTransform(const StoredPlacement& placement)
{
    const double toRadians = M_PI / 180.0;
    const double az = -placement.angles[0] * toRadians;
    const double el = -placement.angles[1] * toRadians;
    const double tw = -placement.angles[2] * toRadians;
    const Vec3 r2 {std::sin(az) * std::cos(el), -std::sin(el), std::cos(az) * std::cos(el)};
    const Vec3 u {std::sin(az) * std::sin(el), std::cos(el), std::cos(az) * std::sin(el)};
    const Vec3 v = Cross(u, r2);
    Vec3 r0 {}, r1 {};
    for (int i = 0; i < 3; ++i) {
        r0[i] = std::cos(tw) * v[i] + std::sin(tw) * u[i];
        r1[i] = std::cos(tw) * u[i] - std::sin(tw) * v[i];
    }
    // Design-axes sizes: the database stores (s0, s2, s1).
    const double s0 = placement.scale[0], s1 = placement.scale[2], s2 = placement.scale[1];
    const std::array<Vec3, 3> rows {Vec3 {r0[0] * s0, r0[1] * s0, r0[2] * s0},
        Vec3 {r1[0] * s1, r1[1] * s1, r1[2] * s1}, Vec3 {r2[0] * s2, r2[1] * s2, r2[2] * s2}};
    // Design axes: p' = sum p_i R_i. Database axes swap the second and third coordinates on both
    // sides: database axis a is design axis swap(a).
    const int swap[3] = {0, 2, 1};
    Affine t;
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            t.m[c * 4 + r] = rows[swap[c]][swap[r]];
    for (int r = 0; r < 3; ++r)
        t.m[12 + r] = placement.position[r];
    return t;
}

} // namespace vxinfo
