#pragma once
// The in-memory triangle mesh: plain arrays, with render normals built on demand.

#include "host/HostMesh.h"
#include "memoryhost/RenderNormals.h"

#include <vector>

namespace vx {

// One map channel's data. A channel is supported when it has map faces.
struct MemoryMapChannel {
    std::vector<HostPoint3> verts;
    std::vector<HostTVFace> faces;
};

class MemoryMesh final : public HostMesh {
public:
    // Setters replace the mesh's data and drop the render normals built so far. The caller keeps
    // every face's vertex indices below the vertex count, map face indices below their channel's
    // map vertex count, and one map face per face (the scene file loader checks all of this).
    MemoryMesh() = default;
    // Copies take the data; their render normals are built again on first use, so that no view
    // points into the original.
    MemoryMesh(const MemoryMesh& other);
    MemoryMesh& operator=(const MemoryMesh& other);

    void SetVerts(std::vector<HostPoint3> verts);
    void SetFaces(std::vector<HostFace> faces);
    // One explicit normal per vertex, or empty for none.
    void SetExplicitNormals(std::vector<HostPoint3> normals);
    // Sets channel (0..99) to data; out-of-range channels are refused (reported).
    void SetMapChannel(int channel, MemoryMapChannel data);

    const std::vector<HostPoint3>& GetExplicitNormals() const { return explicitNormals_; }

    int GetNumVerts() const override;
    HostArray<HostPoint3> GetVerts() const override;
    int GetNumFaces() const override;
    HostArray<HostFace> GetFaces() const override;
    void BuildNormals() override;
    const HostRenderVertex& GetRenderVertex(int index) const override;
    HostPoint3 GetFaceNormal(int index) const override;
    int GetNumMaps() const override;
    bool GetMapSupport(int channel) const override;
    HostArray<HostPoint3> GetMapVerts(int channel) const override;
    HostArray<HostTVFace> GetMapFaces(int channel) const override;

    static constexpr int kMaxMapChannels = 100;

private:
    void BuildNormalsIfNeeded() const;
    const MemoryMapChannel* FindChannel(int channel) const;

    std::vector<HostPoint3> verts_;
    std::vector<HostFace> faces_;
    std::vector<HostPoint3> explicitNormals_;
    std::vector<MemoryMapChannel> maps_;

    mutable bool normalsBuilt_ = false;
    mutable RenderNormals renderNormals_;
};

} // namespace vx
