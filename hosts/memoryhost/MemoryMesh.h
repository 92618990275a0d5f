#pragma once
// The in-memory triangle mesh: plain arrays, with render normals built on demand.

#include "base/BulkArena.h"
#include "host/HostMesh.h"
#include "memoryhost/RenderNormals.h"

#include <vector>

namespace vx {

// The arrays of a mesh. A large scene's meshes are hundreds of megabytes that live as long as the
// scene, so they come from the bulk arena's huge pages rather than being touched page by page.
template <class T> using MeshArray = BulkVector<T>;

// One map channel's data. A channel is supported when it has map faces.
struct MemoryMapChannel {
    MeshArray<HostPoint3> verts;
    MeshArray<HostTVFace> faces;
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

    void SetVerts(MeshArray<HostPoint3> verts);
    void SetFaces(MeshArray<HostFace> faces);
    // One explicit normal per vertex, or empty for none.
    void SetExplicitNormals(MeshArray<HostPoint3> normals);
    // Sets channel (0..99) to data; out-of-range channels are refused (reported).
    void SetMapChannel(int channel, MemoryMapChannel data);

    const MeshArray<HostPoint3>& GetExplicitNormals() const { return explicitNormals_; }

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

    MeshArray<HostPoint3> verts_;
    MeshArray<HostFace> faces_;
    MeshArray<HostPoint3> explicitNormals_;
    std::vector<MemoryMapChannel> maps_;

    mutable bool normalsBuilt_ = false;
    mutable RenderNormals renderNormals_;
};

} // namespace vx
