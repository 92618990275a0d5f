#pragma once
// Host matrices carried into the design. Two frames meet here:
// - placements of model pairs and instances keep the host's axis order (the writers exchange y and
//   z when they store them) and take positions in metres;
// - vertex placements act on vertex data, which is in the design frame: metres, the host's y and z
//   exchanged (the host's second axis row becomes the third and the third the second).
// A placement carries no scale: the scale of a transform goes into the vertices or into the sizes
// of an instance.

#include "base/Transform.h"
#include "base/Vector3.h"
#include "host/HostMath.h"

namespace vx {

// m's rows and translation as a plain transform (host axes and units), and back.
Transform ToTransform(const HostMatrix3& m);
HostMatrix3 ToHostMatrix(const Transform& t);

// The placement of m in host axes: the rotation of its affine decomposition (with its sign), the
// translation times scaleFactor.
Transform HostPlacementOf(const HostMatrix3& m, float scaleFactor);
// The same placement in the design frame.
Transform DesignPlacementOf(const HostMatrix3& m, float scaleFactor);
// t with y and z exchanged: rows 1 and 2 swapped and the second and third component of every row
// and of the position swapped.
Transform ExchangeYZ(const Transform& t);

// The scale factors of m's affine decomposition, in host axis order and in design axis order.
Vector3 HostScaleFactors(const HostMatrix3& m);
Vector3 DesignScaleFactors(const HostMatrix3& m);

// t with scale applied before it: row i multiplied by the factor i.
Transform ScaleBefore(const Transform& t, const Vector3& scale);
// The scale of the merged vertices: the three factors when any differs from 1 by at least 0.001,
// reduced to one uniform factor when they are equal (differences near zero), which is applied only
// when it differs from 1 by at least 0.001; (1, 1, 1) otherwise.
Vector3 VertexScaleOf(const Vector3& factors);

// The extent of box in host units and axes; (0, 0, 0) for an empty box.
Vector3 HostExtentOf(const HostBox3& box);

// Whether every component of v is 1 (differences near zero).
bool IsUnitScale(const Vector3& v);

} // namespace vx
