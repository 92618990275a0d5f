#pragma once
// Host matrices carried into the design frame: metres, the host's y and z exchanged (the host's
// second axis row becomes the third and the third the second). Placements of instances, model
// pairs and objects and the vertex placements all live in that frame; the writers exchange y and z
// back when they store them, so the database holds the host's axis order.
//
// A composite object's frame is the rigid part of its node's transform (rotation and translation):
// angles cannot carry scale or a mirror, so those go into the vertices, or into the scale of the
// object's geometry placement.

#include "base/Transform.h"
#include "base/Vector3.h"
#include "host/HostMath.h"

namespace vx {

// m's rows and translation as a plain transform (host axes and units), and back.
Transform ToTransform(const HostMatrix3& m);
HostMatrix3 ToHostMatrix(const Transform& t);

// The rigid part of m (host axes and units): the essential rotation of its affine decomposition
// and its translation; scale, stretch and the mirror's sign are left out.
HostMatrix3 RigidFrameOf(const HostMatrix3& m);
// m without its mirror: the axis rows negated when the determinant is negative, so that the frame
// keeps m's scale and rotation (m itself when it does not mirror).
HostMatrix3 UnmirroredFrameOf(const HostMatrix3& m);
// Whether m mirrors (its axis rows have a negative determinant).
bool IsMirrored(const HostMatrix3& m);
// The rigid part of m in the design frame, the translation times scaleFactor: unit rows.
Transform DesignRigidPlacementOf(const HostMatrix3& m, float scaleFactor);
// All of m in the design frame (scale, shear and mirror included), the translation times
// scaleFactor.
Transform DesignTransformOf(const HostMatrix3& m, float scaleFactor);
// What m does beyond its rigid part, in the design frame and without translation: the rows that,
// applied before DesignRigidPlacementOf(m), give all of m (scale and mirror). Rows within 1e-6 of
// the identity are returned as the exact identity, so that unscaled nodes keep their vertices bit
// for bit.
Transform DesignResidualOf(const HostMatrix3& m);
// t with y and z exchanged: rows 1 and 2 swapped and the second and third component of every row
// and of the position swapped.
Transform ExchangeYZ(const Transform& t);

// The scale factors of m's affine decomposition, in host axis order and in design axis order.
Vector3 HostScaleFactors(const HostMatrix3& m);
Vector3 DesignScaleFactors(const HostMatrix3& m);

// t with scale applied before it: row i multiplied by the factor i.
Transform ScaleBefore(const Transform& t, const Vector3& scale);

// The extent of box in host units and axes; (0, 0, 0) for an empty box.
Vector3 HostExtentOf(const HostBox3& box);

// Whether every component of v is 1 (differences near zero).
bool IsUnitScale(const Vector3& v);

} // namespace vx
