#pragma once
// The design's triangles in the root's frame: every geometry reachable from the root record,
// decoded once and placed once per path of instances that reaches it (see DesignTransform.h).

#include "vxinfo/DesignContent.h"
#include "vxinfo/DesignTransform.h"
#include "vxinfo/GeometryDecoding.h"
#include "vxinfo/ReadOnlyDatabase.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace vxinfo {

// One triangle of the design in the root's frame (metres, host axis order), read by the rule.
struct WorldTriangle {
    std::array<Vec3, 3> corners;
    std::array<Vec3, 3> normals; // unit normals from the buffer (zero when the buffer has none)
    std::string path; // instance names from the root down, joined with "/" ("" for the root object's
                      // own geometry); an unnamed instance is "#<luid>"
    Luid geometry = 0; // the geometry it came from
    int material = -1; // material index within that geometry's model, -1 when none
};

// Every triangle of every geometry reachable from the root record, each placed once per path that
// reaches it, depth first in instance order. Geometries that cannot be decoded are passed over.
std::vector<WorldTriangle> CollectWorldTriangles(const ReadOnlyDatabase& db, const DesignContent& content);

// One placement of a decoded geometry below the root record.
struct PlacedGeometry {
    const DecodedGeometry& geometry; // its vertex buffers already placed in the geometry
    Affine toRoot; // the geometry's coordinates to the root's: instances, then the geometry placement
    Affine turnToRoot; // the rotations of toRoot alone, for normals
    std::string path; // as WorldTriangle::path
};

// Calls onGeometry for every placement of a geometry, in the order of CollectWorldTriangles. Each
// geometry is decoded once; objects whose geometry has no Geometries row are passed over.
void ForEachPlacedGeometry(const ReadOnlyDatabase& db, const DesignContent& content,
    const std::function<void(const PlacedGeometry& placed)>& onGeometry);

// The path text of instances (from the root down): their names joined with "/", "#<luid>" for an
// unnamed one.
std::string InstancePathText(const std::vector<const InstanceRow*>& instances);

} // namespace vxinfo
