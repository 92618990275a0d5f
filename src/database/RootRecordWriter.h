#pragma once
// The database root record: the CompositeObjects row that stands for the whole design and the
// Roots row that carries the camera of the first view.

#include "database/SqlWriter.h"

#include "base/Vector3.h"
#include "design/Aabb.h"

#include <cstdint>

namespace vx {

// The camera position of the root record for the design box, in database axes, computed in
// single precision: lo = (min.x, min.z, min.y), hi = (max.x, max.z, max.y) (the stored corners,
// valid or not), c = (hi + lo) / 2, s = hi - lo, d = s.y / 2 + (s.z x 0.5 x 1.1) / tan(0.5235988)
// + 0.1; the camera is (c.x, c.y - d, c.z), looking along +y. Where single precision overflows (a
// box wider than the largest float), the same is computed in double precision, so the camera of
// any finite box is finite.
struct CameraPosition {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};
CameraPosition RootCameraPosition(const ZR::Aabb& box);

// Writes the root record named name (null or empty gives NULL): a Guids row of a new sequential
// identifier, the CompositeObjects row (the box by BindBox when withCamera, else six zeros;
// thirteen NULLs; lod 0) and the Roots row (with withCamera the camera of RootCameraPosition and
// azimuth and elevation 0, else NULL in the five camera columns). Returns the luid. When the Guids
// row cannot be written the luid (-1) is reported ("designRootLuid>0") and returned, and neither
// row is written (so also after Close). Statement failures are reported and skipped.
int64_t WriteDatabaseRoot(SqlWriter& writer, const char* name, const ZR::Aabb& box, bool withCamera);

} // namespace vx
