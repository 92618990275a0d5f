#include "memoryhost/MemoryMesh.h"

#include "base/Assert.h"
#include "memoryhost/RenderNormals.h"

#include <utility>

namespace vx {

void MemoryMesh::SetVerts(MeshArray<HostPoint3> verts)
{
    verts_ = std::move(verts);
    normalsBuilt_ = false;
}

void MemoryMesh::SetFaces(MeshArray<HostFace> faces)
{
    faces_ = std::move(faces);
    normalsBuilt_ = false;
}

void MemoryMesh::SetExplicitNormals(MeshArray<HostPoint3> normals)
{
    explicitNormals_ = std::move(normals);
    normalsBuilt_ = false;
}

void MemoryMesh::SetMapChannel(int channel, MemoryMapChannel data)
{
    if (!VX_ASSERT_TEXT(channel >= 0 && channel < kMaxMapChannels, "map channel in 0..99"))
        return;
    if (maps_.size() <= size_t(channel))
        maps_.resize(size_t(channel) + 1);
    maps_[channel] = std::move(data);
}

MemoryMesh::MemoryMesh(const MemoryMesh& other)
    : verts_(other.verts_)
    , faces_(other.faces_)
    , explicitNormals_(other.explicitNormals_)
    , maps_(other.maps_)
{
}

MemoryMesh& MemoryMesh::operator=(const MemoryMesh& other)
{
    if (this != &other) {
        verts_ = other.verts_;
        faces_ = other.faces_;
        explicitNormals_ = other.explicitNormals_;
        maps_ = other.maps_;
        normalsBuilt_ = false;
    }
    return *this;
}

int MemoryMesh::GetNumVerts() const
{
    return static_cast<int>(verts_.size());
}

HostArray<HostPoint3> MemoryMesh::GetVerts() const
{
    return MakeHostArray(verts_);
}

int MemoryMesh::GetNumFaces() const
{
    return static_cast<int>(faces_.size());
}

HostArray<HostFace> MemoryMesh::GetFaces() const
{
    return MakeHostArray(faces_);
}

void MemoryMesh::BuildNormals()
{
    // Every setter drops the built normals, so normals still built are those of the current
    // vertices, faces and smoothing groups: building them again would give the same. A mesh shown
    // by many nodes is asked once per node.
    BuildNormalsIfNeeded();
}

void MemoryMesh::BuildNormalsIfNeeded() const
{
    if (normalsBuilt_)
        return;
    renderNormals_ = BuildRenderNormals(verts_, faces_, explicitNormals_);
    normalsBuilt_ = true;
}

const HostRenderVertex& MemoryMesh::GetRenderVertex(int index) const
{
    static const HostRenderVertex kNone;
    BuildNormalsIfNeeded();
    if (index < 0 || size_t(index) >= renderNormals_.vertices.size())
        return kNone;
    return renderNormals_.vertices[index];
}

HostPoint3 MemoryMesh::GetFaceNormal(int index) const
{
    BuildNormalsIfNeeded();
    if (index < 0 || size_t(index) >= renderNormals_.faceNormals.size())
        return HostPoint3 {};
    return renderNormals_.faceNormals[index];
}

const MemoryMapChannel* MemoryMesh::FindChannel(int channel) const
{
    if (channel < 0 || size_t(channel) >= maps_.size() || maps_[channel].faces.empty())
        return nullptr;
    return &maps_[channel];
}

int MemoryMesh::GetNumMaps() const
{
    return static_cast<int>(maps_.size());
}

bool MemoryMesh::GetMapSupport(int channel) const
{
    return FindChannel(channel) != nullptr;
}

HostArray<HostPoint3> MemoryMesh::GetMapVerts(int channel) const
{
    const MemoryMapChannel* found = FindChannel(channel);
    return found ? MakeHostArray(found->verts) : HostArray<HostPoint3> {};
}

HostArray<HostTVFace> MemoryMesh::GetMapFaces(int channel) const
{
    const MemoryMapChannel* found = FindChannel(channel);
    return found ? MakeHostArray(found->faces) : HostArray<HostTVFace> {};
}

} // namespace vx
