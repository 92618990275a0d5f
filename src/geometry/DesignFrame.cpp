#include "geometry/DesignFrame.h"

#include "base/Numeric.h"

#include <bit>

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

Vector3 NormalTransformer::operator()(const Vector3& n)
{
    const std::array<uint32_t, 3> input {
        std::bit_cast<uint32_t>(n.x), std::bit_cast<uint32_t>(n.y), std::bit_cast<uint32_t>(n.z)};
    const uint32_t hash = (input[0] * 0x9E3779B1u) ^ (input[1] * 0x85EBCA77u) ^ (input[2] * 0xC2B2AE3Du);
    Slot& slot = slots_[(hash >> 24) % kSlots];
    if (!slot.used || slot.input != input) {
        slot.input = input;
        slot.result = TransformNormal(rows_, n);
        slot.used = true;
    }
    return slot.result;
}

} // namespace vx
