#pragma once
// Whether two scene objects hold the same triangle mesh, for the pass that lets nodes with equal
// meshes share one object.

namespace vx {

class HostObject;

// True when a and b both convert to triangle meshes (at time 0) and the meshes are the same:
// equal vertex counts and vertices (each coordinate exactly equal, so 0 and -0 match and NaN
// matches nothing), equal face lists (vertex indices, smoothing groups and material identifiers),
// equal map channels (channel count, and per channel its support, map vertices compared like the
// vertices, and map face indices), and equal explicitly specified normals. An object compared
// with itself is equal when it converts. False when either does not convert.
bool MeshesEqual(const HostObject& a, const HostObject& b);

} // namespace vx
