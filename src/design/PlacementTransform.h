#pragma once
// PlacementTransform: the rotation rows and position of a model pair, with a flag word that says
// which parts differ from the identity. The three low bits are all clear exactly when the
// transform is the identity, so readers test IsIdentity instead of comparing the rows.

#include "base/Rotation.h"
#include "base/Transform.h"
#include "base/Vector3.h"

#include <cstdint>

namespace ZR {

struct PlacementTransform {
    // The position is not (0, 0, 0).
    static constexpr uint32_t POSITION_FLAG = 1;
    // The rows are not the identity rows (turned, scaled or both).
    static constexpr uint32_t ROWS_FLAG = 2;
    // Some row's length differs from 1 by more than a near-zero amount.
    static constexpr uint32_t SCALE_FLAG = 4;
    static constexpr uint32_t NOT_IDENTITY_MASK = POSITION_FLAG | ROWS_FLAG | SCALE_FLAG;

    // The identity: identity rows, zero position, no flag.
    PlacementTransform() = default;

    // Takes the rows and position of t and sets the flags from them. Position and rows are compared
    // exactly, so only the exact identity gives IsIdentity. NaN rows set ROWS_FLAG and SCALE_FLAG.
    void Set(const vx::Transform& t);
    // The rows and position as a plain transform.
    vx::Transform ToTransform() const { return {rows, position}; }
    // True when none of the three low flag bits is set.
    bool IsIdentity() const { return (flags & NOT_IDENTITY_MASK) == 0; }

    vx::Rotation rows;
    vx::Vector3 position;
    uint32_t flags = 0;
};

} // namespace ZR
