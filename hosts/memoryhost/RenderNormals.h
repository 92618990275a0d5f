#pragma once
// The host's smoothing-group rules: from a mesh's vertices, faces and smoothing groups, the face
// normals and the render normals of every vertex.

#include "base/BulkArena.h"
#include "host/HostMesh.h"

#include <span>
#include <vector>

namespace vx {

// The render normals of a mesh. All vertices' normals sit in one list, vertex after vertex, and
// each vertex's HostRenderVertex views its part of it: one allocation for the mesh instead of one
// per vertex, which keeps a large scene's memory and its first-touch cost down. Moving a
// RenderNormals keeps the views valid; copying it is not possible.
struct RenderNormals {
    RenderNormals() = default;
    RenderNormals(RenderNormals&&) = default;
    RenderNormals& operator=(RenderNormals&&) = default;
    RenderNormals(const RenderNormals&) = delete;
    RenderNormals& operator=(const RenderNormals&) = delete;

    // Bulk storage: a large scene's meshes keep hundreds of thousands of these.
    BulkVector<HostRenderVertex> vertices;
    BulkVector<HostRenderNormal> normals;
    BulkVector<HostPoint3> faceNormals;
};

// Face normals: the unit normal of (v1 - v0) x (v2 - v0); (0, 0, 0) for a degenerate face.
//
// Render normals of a vertex without an explicit normal: its faces with a smoothing group other
// than 0 are joined when their smoothing groups share a bit, directly or through other faces around
// the vertex; each such set gives one normal, the normalised sum of its faces' normals, carrying the
// union of their smoothing groups. Normals are listed in the order of their first face. Faces with
// smoothing group 0 add nothing (they use their face normal).
//
// explicitNormals is empty, or holds one normal per vertex: every vertex then has that normal as
// its only, specified, normal (used as given).
//
// A face with a vertex index out of range is skipped (and reported to the debugger output); an
// explicitNormals of the wrong size is ignored (and reported).
RenderNormals BuildRenderNormals(std::span<const HostPoint3> verts, std::span<const HostFace> faces,
    std::span<const HostPoint3> explicitNormals);

} // namespace vx
