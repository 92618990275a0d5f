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
    const Vec3 x0 = Cross(u, r2);
    Vec3 r0 {}, r1 {};
    for (int i = 0; i < 3; ++i) {
        r0[i] = std::cos(tw) * x0[i] + std::sin(tw) * u[i];
        r1[i] = -std::sin(tw) * x0[i] + std::cos(tw) * u[i];
    }
    const std::array<Vec3, 3> rows {r0, r1, r2};
    Affine t;
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            t.m[c * 4 + r] = rows[c][r] * placement.scale[c];
    for (int r = 0; r < 3; ++r)
        t.m[12 + r] = placement.position[r];
    return t;
}

Affine PlacementRotation(const StoredPlacement& placement)
{
    return PlacementTransform({{0, 0, 0}, placement.angles, {1, 1, 1}});
}

Affine InstanceTransform(const InstanceRow& instance)
{
    Vec3 stretch {1, 1, 1};
    if (instance.length && instance.width && instance.height)
        stretch = {*instance.width, *instance.length, *instance.height};
    else if (instance.length && !instance.width && !instance.height)
        stretch = {1, *instance.length, 1};
    Affine scale;
    for (int axis = 0; axis < 3; ++axis)
        scale.m[static_cast<std::size_t>(axis * 5)] = stretch[static_cast<std::size_t>(axis)];
    return Multiply(PlacementTransform(instance.placement), scale);
}

} // namespace vxinfo
