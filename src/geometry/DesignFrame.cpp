#include "geometry/DesignFrame.h"

#include "base/Numeric.h"

namespace vx {

Vector3 TransformNormal(const Rotation& normalRows, const Vector3& n)
{
    Vector3 v = ApplyRows(normalRows, n);
    const long double length = Length(v);
    if (length > 0.0L && std::isfinite(static_cast<double>(length)))
        v = v * static_cast<float>(1.0L / length);
    auto clean = [](float c) { return _feqz(c) ? 0.0f : c; };
    return {clean(v.x), clean(v.y), clean(v.z)};
}

} // namespace vx
