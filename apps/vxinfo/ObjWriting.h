#pragma once
// The design's triangles in the root's frame as Wavefront OBJ text.

#include "vxinfo/WorldMesh.h"

#include <string>
#include <vector>

namespace vxinfo {

// The OBJ text of triangles: a comment line naming source, then for each run of triangles with the
// same path a "g" line (the path, "root" for the empty one; line breaks become spaces) followed by
// the run's "v x y z" lines, its "vn" lines (the buffer's normal, else the face normal) and its
// "f a//a b//b c//c" lines, one vertex and normal per corner, numbered from 1 across the file.
// Positions keep nine significant digits, in the database's frame (metres, z up).
std::string BuildObj(const std::vector<WorldTriangle>& triangles, const std::string& source);

} // namespace vxinfo
