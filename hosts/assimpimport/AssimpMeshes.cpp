#include "assimpimport/AssimpMeshes.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace vx {

namespace {

constexpr int kKeptUvSets = 2;

HostPoint3 ToHostPoint(const aiVector3D& v)
{
    return HostPoint3 {v.x, v.y, v.z};
}

bool IsFinite(const aiVector3D& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void CheckFinite(const aiMesh& mesh, const aiVector3D* values, const char* what)
{
    for (unsigned i = 0; i < mesh.mNumVertices; ++i)
        if (!IsFinite(values[i]))
            throw std::runtime_error(std::string("the mesh \"") + mesh.mName.C_Str() + "\" has a " + what
                + " that is not a finite number (vertex " + std::to_string(i) + ")");
}

} // namespace

std::unique_ptr<MemoryMesh> BuildMesh(const std::vector<AssimpMeshPart>& parts)
{
    MeshArray<HostPoint3> verts, normals;
    MeshArray<HostFace> faces;
    MemoryMapChannel channels[kKeptUvSets];
    bool channelUsed[kKeptUvSets] = {false, false};
    bool allNormals = true;
    for (const AssimpMeshPart& part : parts)
        allNormals = allNormals && part.mesh->HasNormals();

    for (const AssimpMeshPart& part : parts) {
        const aiMesh& mesh = *part.mesh;
        const std::uint64_t base = verts.size();
        if (base + mesh.mNumVertices > std::uint64_t(std::numeric_limits<int>::max())
            || faces.size() + mesh.mNumFaces > std::uint64_t(std::numeric_limits<int>::max()))
            throw std::runtime_error("the meshes of one node have more than 2^31 vertices or faces");
        CheckFinite(mesh, mesh.mVertices, "vertex");
        for (unsigned i = 0; i < mesh.mNumVertices; ++i)
            verts.push_back(ToHostPoint(mesh.mVertices[i]));
        if (allNormals) {
            CheckFinite(mesh, mesh.mNormals, "normal");
            for (unsigned i = 0; i < mesh.mNumVertices; ++i)
                normals.push_back(ToHostPoint(mesh.mNormals[i]));
        }
        for (int c = 0; c < kKeptUvSets; ++c) {
            const bool has = size_t(c) < part.uvSets.size() && part.uvSets[c] < AI_MAX_NUMBER_OF_TEXTURECOORDS
                && mesh.HasTextureCoords(part.uvSets[c]);
            channelUsed[c] = channelUsed[c] || has;
            for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
                const aiVector3D uv = has ? mesh.mTextureCoords[part.uvSets[c]][i] : aiVector3D();
                channels[c].verts.push_back(IsFinite(uv) ? ToHostPoint(uv) : HostPoint3 {});
            }
        }
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& source = mesh.mFaces[f];
            if (source.mNumIndices != 3)
                continue;
            HostFace face;
            HostTVFace mapFace;
            for (int k = 0; k < 3; ++k) {
                if (source.mIndices[k] >= mesh.mNumVertices)
                    throw std::runtime_error(std::string("the mesh \"") + mesh.mName.C_Str()
                        + "\" has a face whose vertex index is out of range");
                face.v[k] = static_cast<std::uint32_t>(base + source.mIndices[k]);
                mapFace.t[k] = face.v[k];
            }
            face.smGroup = allNormals ? 0u : 1u;
            face.flags = std::uint32_t(part.materialId) << 16;
            faces.push_back(face);
            for (MemoryMapChannel& channel : channels)
                channel.faces.push_back(mapFace);
        }
    }
    auto result = std::make_unique<MemoryMesh>();
    result->SetVerts(std::move(verts));
    result->SetFaces(std::move(faces));
    if (allNormals)
        result->SetExplicitNormals(std::move(normals));
    for (int c = 0; c < kKeptUvSets; ++c)
        if (channelUsed[c])
            result->SetMapChannel(c + 1, std::move(channels[c]));
    return result;
}

} // namespace vx
