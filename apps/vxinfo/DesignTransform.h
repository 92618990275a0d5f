#pragma once
// Placements as affine transforms in the database's frame: the host's axis order (x, y, z), z up,
// in metres. Every stored coordinate, position and angle is in that frame; nothing is swapped.
//
// A stored placement holds a position, three angles in degrees (rot_az, rot_el, rot_tw) and a
// scale. With (az, el, tw) the negated angles in radians, the rows of the placed thing are
//   R2 = (sin az cos el, -sin el, cos az cos el), U = (sin az sin el, cos el, cos az sin el),
//   X0 = U x R2, R0 = cos tw X0 + sin tw U, R1 = -sin tw X0 + cos tw U,
// and a point p of the placed thing lands at (p.x sx) R0 + (p.y sy) R1 + (p.z sz) R2 + position.

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

// The transform of placement, mapping the placed thing's coordinates to its owner's: column c is
// row R_c times scale[c], the translation is the position.
Affine PlacementTransform(const StoredPlacement& placement);

// The transform of an instance: its placement, after its sizes stretch a stretchable object. An
// instance with width, height and length (a scalable object, made one unit on each axis) scales the
// object by (width, length, height) along x, y, z; one with a length alone (an extrudable object,
// made one unit long along y) by (1, length, 1); any other instance does not stretch.
Affine InstanceTransform(const InstanceRow& instance);

// The rotation of placement alone (no scale, no translation): what turns the placed thing's normals.
Affine PlacementRotation(const StoredPlacement& placement);

} // namespace vxinfo
