#pragma once
// The preview picture of a design: every placed geometry, flat-shaded in its material colour, seen
// from the root record's camera direction.

#include "vxinfo/DesignContent.h"
#include "vxinfo/ReadOnlyDatabase.h"
#include "vxinfo/SoftwareRasteriser.h"

namespace vxinfo {

// The viewing direction of the root camera, in the database's axes (x and y level, z up, as the
// vertex buffers hold their coordinates): the exporter places the camera in front of the root box
// along -y, so azimuth 0 and elevation 0 look along +y; the azimuth turns the direction about z
// and the elevation tilts it upwards, both in degrees.
Point3 CameraDirection(double azimuthDegrees, double elevationDegrees);

// Renders the design of db (rows in content) at width x height pixels on a white background.
// Without a root record or geometry the picture is empty (all background). triangleCount, when
// given, receives the number of triangles drawn.
RgbImage RenderPreview(const ReadOnlyDatabase& db, const DesignContent& content, int width, int height,
    int64_t* triangleCount = nullptr);

} // namespace vxinfo
