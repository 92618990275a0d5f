#pragma once
// A host triangle mesh: vertices, faces with smoothing groups and material identifiers, the render
// normals that the host builds from the smoothing groups, and the map channels.

#include "host/HostMath.h"
#include "host/HostTypes.h"

#include <cstdint>

namespace vx {

// One triangle: three vertex indices, its smoothing groups (one bit per group, 0 = none) and its
// flags, whose upper 16 bits hold the material identifier.
struct HostFace {
    std::uint32_t v[3] = {0, 0, 0};
    std::uint32_t smGroup = 0;
    std::uint32_t flags = 0;

    std::uint16_t GetMatId() const { return static_cast<std::uint16_t>(flags >> 16); }
};

// One map face: three indices into its channel's map vertices.
struct HostTVFace {
    std::uint32_t t[3] = {0, 0, 0};
};

// One normal of a render vertex with the smoothing groups of the faces that share it.
struct HostRenderNormal {
    HostPoint3 normal;
    std::uint32_t smGroup = 0;
};

// The render normals of one mesh vertex. With `specified` set the vertex has one explicitly given
// normal (normals[0]) that every face uses. Otherwise it holds one normal per set of smoothing
// groups around it (none when all its faces have smoothing group 0).
struct HostRenderVertex {
    bool specified = false;
    HostArray<HostRenderNormal> normals;
};

class HostMesh {
public:
    virtual ~HostMesh() = default;

    virtual int GetNumVerts() const = 0;
    // The vertices in object space; size GetNumVerts().
    virtual HostArray<HostPoint3> GetVerts() const = 0;
    virtual int GetNumFaces() const = 0;
    // The faces; size GetNumFaces(). Every vertex index is below GetNumVerts().
    virtual HostArray<HostFace> GetFaces() const = 0;

    // Builds the render vertices and face normals from the current vertices, faces and smoothing
    // groups (explicitly specified normals are kept). The getters below build them on first use.
    virtual void BuildNormals() = 0;
    // The render vertex of mesh vertex index; an index out of range gives an empty render vertex.
    virtual const HostRenderVertex& GetRenderVertex(int index) const = 0;
    // The unit normal of face index; a degenerate face or an index out of range gives (0, 0, 0).
    virtual HostPoint3 GetFaceNormal(int index) const = 0;

    // Number of map channel slots (one past the highest channel present); channel 0 holds vertex
    // colours, channel 1 is the default texture channel.
    virtual int GetNumMaps() const = 0;
    // True when channel has map vertices and map faces.
    virtual bool GetMapSupport(int channel) const = 0;
    // The map vertices (u, v, w) of channel; empty when the channel is not supported.
    virtual HostArray<HostPoint3> GetMapVerts(int channel) const = 0;
    // The map faces of channel, one per face; empty when the channel is not supported.
    virtual HostArray<HostTVFace> GetMapFaces(int channel) const = 0;
};

} // namespace vx
