#pragma once
// Placement: where a thing sits in its owner, as rotation rows (row i is the local axis i, scaled)
// and a position. A new placement is the identity at the origin.

#include "base/Rotation.h"
#include "base/Vector3.h"

namespace ZR {

struct Placement {
    vx::Rotation matrix;
    vx::Vector3 position;

    friend bool operator==(const Placement&, const Placement&) = default;
};

} // namespace ZR
