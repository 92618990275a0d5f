#pragma once
// Placements as affine transforms in the database's axes.
//
// A stored placement is a position in the database's axes and three angles in degrees that are the
// negated azimuth, elevation and twist of the placed thing's axes (its rotation rows R0, R1, R2) in
// the design's axes, whose second and third coordinates are the database's third and second. The
// rows are rebuilt from the angles: R2 = (sin az cos el, -sin el, cos az cos el); the untwisted up
// axis U = (sin az sin el, cos el, cos az sin el); with V = U x R2, R0 = cos tw V + sin tw U and
// R1 = cos tw U - sin tw V.

#include "vxinfo/DesignContent.h"

#include <array>

namespace vxinfo {

// A 4 x 4 affine transform, column-major (m[column * 4 + row]), as glTF stores it.
struct Affine {
    std::array<double, 16> m {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    Vec3 Apply(const Vec3& p) const;
    // The direction part only (no translation).
    Vec3 ApplyDirection(const Vec3& d) const;
    bool IsIdentity() const;
};

// this x other: other applied first.
Affine Multiply(const Affine& a, const Affine& b);

// The transform of placement, mapping the placed thing's coordinates to its owner's, both in the
// database's axes. The scale (database order) multiplies the rows before they are placed.
Affine PlacementTransform(const StoredPlacement& placement);

} // namespace vxinfo
