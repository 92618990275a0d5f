#include "memoryhost/MemoryMesh.h"

#include "base/Assert.h"
#include "memoryhost/RenderNormals.h"

#include <utility>

namespace vx {

void MemoryMesh::SetVerts(std::vector<HostPoint3> verts)
{
    verts_ = std::move(verts);
    normalsBuilt_ = false;
}

void MemoryMesh::SetFaces(std::vector<HostFace> faces)
{
    faces_ = std::move(faces);
    normalsBuilt_ = false;
}

void MemoryMesh::SetExplicitNormals(std::vector<HostPoint3> normals)
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

int MemoryMesh::GetNumVerts() const
{
    return static_cast<int>(verts_.size());
}

std::span<const HostPoint3> MemoryMesh::GetVerts() const
{
    return verts_;
}

int MemoryMesh::GetNumFaces() const
{
    return static_cast<int>(faces_.size());
}

std::span<const HostFace> MemoryMesh::GetFaces() const
{
    return faces_;
}

void MemoryMesh::BuildNormals()
{
    normalsBuilt_ = false;
    BuildNormalsIfNeeded();
}

void MemoryMesh::BuildNormalsIfNeeded() const
{
    if (normalsBuilt_)
        return;
    RenderNormals built = BuildRenderNormals(verts_, faces_, explicitNormals_);
    renderVertices_ = std::move(built.vertices);
    faceNormals_ = std::move(built.faceNormals);
    normalsBuilt_ = true;
}

const HostRenderVertex& MemoryMesh::GetRenderVertex(int index) const
{
    static const HostRenderVertex kNone;
    BuildNormalsIfNeeded();
    if (index < 0 || size_t(index) >= renderVertices_.size())
        return kNone;
    return renderVertices_[index];
}

HostPoint3 MemoryMesh::GetFaceNormal(int index) const
{
    BuildNormalsIfNeeded();
    if (index < 0 || size_t(index) >= faceNormals_.size())
        return HostPoint3 {};
    return faceNormals_[index];
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

std::span<const HostPoint3> MemoryMesh::GetMapVerts(int channel) const
{
    const MemoryMapChannel* found = FindChannel(channel);
    return found ? std::span<const HostPoint3>(found->verts) : std::span<const HostPoint3>();
}

std::span<const HostTVFace> MemoryMesh::GetMapFaces(int channel) const
{
    const MemoryMapChannel* found = FindChannel(channel);
    return found ? std::span<const HostTVFace>(found->faces) : std::span<const HostTVFace>();
}

} // namespace vx
