#pragma once
// Moving host geometry into the design frame: the host's y and z exchanged, lengths in metres.
// Directions (normals) go through the inverse transpose of a transform's rows.

#include "base/Rotation.h"
#include "base/Transform.h"
#include "base/Vector3.h"
#include "host/HostMath.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vx {

inline Vector3 SwapYZ(const Vector3& v)
{
    return {v.x, v.z, v.y};
}

inline Vector3 ToVector3(const HostPoint3& p)
{
    return {p.x, p.y, p.z};
}

// The axis rows of m as rotation rows (host axes).
inline Rotation HostRows(const HostMatrix3& m)
{
    return {ToVector3(m.rows[0]), ToVector3(m.rows[1]), ToVector3(m.rows[2])};
}

// m's axis rows in the design frame: y and z exchanged within each row, and the second and third
// rows exchanged.
inline Rotation DesignRows(const HostMatrix3& m)
{
    return {SwapYZ(ToVector3(m.rows[0])), SwapYZ(ToVector3(m.rows[2])), SwapYZ(ToVector3(m.rows[1]))};
}

// The rows that carry normals when positions are carried by rows: the inverse transpose (for a
// singular transform the transposed adjugate, which keeps the directions of the surviving axes).
inline Rotation NormalRows(const Rotation& rows)
{
    return Transpose(Inverse(rows));
}

// n carried by normalRows and made unit length (the zero vector stays zero); components below
// 2^-16 in magnitude become exactly 0.
Vector3 TransformNormal(const Rotation& normalRows, const Vector3& n);

// TransformNormal under one normalRows for the normals of a mesh, which repeat (a smooth vertex
// gives its normal to every corner it has): recent results are kept by the input's bit pattern, so
// a repeated normal costs a lookup and gets the very result its first computation gave.
class NormalTransformer {
public:
    explicit NormalTransformer(const Rotation& normalRows)
        : rows_(normalRows)
    {
    }

    // TransformNormal(normalRows, n).
    Vector3 operator()(const Vector3& n);

private:
    struct Slot {
        std::array<uint32_t, 3> input {};
        Vector3 result;
        bool used = false;
    };
    static constexpr std::size_t kSlots = 256;

    Rotation rows_;
    std::array<Slot, kSlots> slots_ {};
};

} // namespace vx
