#include "scenefile/SceneMeshReader.h"

#include "scenefile/SceneArrayReader.h"

#include <set>

namespace vx {

namespace {

void RequireCount(const JsonReader& reader, const JsonAt& at, size_t count, size_t expected, const char* what)
{
    if (count != expected)
        reader.Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
            "the array has " + std::to_string(count) + " items but the mesh has " + std::to_string(expected)
                + " " + what);
}

void ReadMapChannels(SceneReadContext& context, const JsonAt& at, MemoryMesh& mesh)
{
    const JsonReader& reader = context.reader;
    const size_t count = reader.RequireArray(at);
    std::set<int> seen;
    for (size_t i = 0; i < count; ++i) {
        const JsonAt channelAt = reader.GetElement(at, i);
        reader.RequireObject(channelAt, {"channel", "vertices", "faces"});
        const JsonAt numberAt = reader.GetField(channelAt, "channel");
        const int channel
            = static_cast<int>(reader.ReadInteger(numberAt, 0, MemoryMesh::kMaxMapChannels - 1));
        if (!seen.insert(channel).second)
            reader.Fail(SceneLoadErrorKind::DuplicateId, numberAt.pointer,
                "map channel " + std::to_string(channel) + " is given twice");
        MemoryMapChannel data;
        data.verts = ReadPointArray(context, reader.GetField(channelAt, "vertices"), true);
        const JsonAt facesAt = reader.GetField(channelAt, "faces");
        data.faces = ReadMapFaceArray(context, facesAt, data.verts.size());
        RequireCount(reader, facesAt, data.faces.size(), static_cast<size_t>(mesh.GetNumFaces()), "faces");
        mesh.SetMapChannel(channel, std::move(data));
    }
}

} // namespace

std::unique_ptr<MemoryMesh> ReadMesh(SceneReadContext& context, const JsonAt& at)
{
    const JsonReader& reader = context.reader;
    reader.RequireObject(
        at, {"vertices", "faces", "smoothingGroups", "materialIds", "normals", "mapChannels"});
    auto mesh = std::make_unique<MemoryMesh>();

    MeshArray<HostPoint3> verts = ReadPointArray(context, reader.GetField(at, "vertices"), false);
    MeshArray<HostFace> faces;
    if (auto facesAt = reader.FindField(at, "faces"))
        faces = ReadFaceArray(context, *facesAt, verts.size());
    if (auto groupsAt = reader.FindField(at, "smoothingGroups")) {
        const std::vector<std::uint32_t> groups
            = ReadValueArray(context, *groupsAt, UINT32_MAX, "smoothing group");
        RequireCount(reader, *groupsAt, groups.size(), faces.size(), "faces");
        for (size_t f = 0; f < faces.size(); ++f)
            faces[f].smGroup = groups[f];
    }
    if (auto idsAt = reader.FindField(at, "materialIds")) {
        const std::vector<std::uint32_t> ids = ReadValueArray(context, *idsAt, 0xFFFF, "material id");
        RequireCount(reader, *idsAt, ids.size(), faces.size(), "faces");
        for (size_t f = 0; f < faces.size(); ++f)
            faces[f].flags = ids[f] << 16;
    }
    if (auto normalsAt = reader.FindField(at, "normals")) {
        MeshArray<HostPoint3> normals = ReadPointArray(context, *normalsAt, false);
        RequireCount(reader, *normalsAt, normals.size(), verts.size(), "vertices");
        mesh->SetExplicitNormals(std::move(normals));
    }
    mesh->SetVerts(std::move(verts));
    mesh->SetFaces(std::move(faces));
    if (auto mapsAt = reader.FindField(at, "mapChannels"))
        ReadMapChannels(context, *mapsAt, *mesh);
    return mesh;
}

} // namespace vx
