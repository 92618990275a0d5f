#include "generator/WriteSceneFile.h"

#include "generator/TextureImage.h"

#include <nlohmann/json.hpp>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace vx::bench {

namespace {

using Json = nlohmann::ordered_json;

// The side file being built: little-endian items appended one after the other.
class SideFile {
public:
    std::uint64_t Size() const { return bytes_.size(); }
    const std::string& Bytes() const { return bytes_; }

    void AppendU32(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes_.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    void AppendU16(std::uint16_t value)
    {
        bytes_.push_back(static_cast<char>(value & 0xFF));
        bytes_.push_back(static_cast<char>(value >> 8));
    }
    void AppendF32(float value) { AppendU32(std::bit_cast<std::uint32_t>(value)); }

private:
    std::string bytes_;
};

Json MakeRange(std::uint64_t offset, size_t count, const char* type)
{
    return Json {{"buffer", 0}, {"offset", offset}, {"count", count}, {"type", type}};
}

Json MakeMeshJson(const GeneratedMesh& mesh, SideFile& side)
{
    const std::uint64_t verts = side.Size();
    for (const HostPoint3& p : mesh.verts) {
        side.AppendF32(p.x);
        side.AppendF32(p.y);
        side.AppendF32(p.z);
    }
    const std::uint64_t faces = side.Size();
    for (const HostFace& face : mesh.faces)
        for (std::uint32_t v : face.v)
            side.AppendU32(v);
    const std::uint64_t groups = side.Size();
    for (const HostFace& face : mesh.faces)
        side.AppendU32(face.smGroup);
    const std::uint64_t ids = side.Size();
    for (const HostFace& face : mesh.faces)
        side.AppendU16(face.GetMatId());
    const std::uint64_t uvs = side.Size();
    for (const HostPoint3& uv : mesh.uvs) {
        side.AppendF32(uv.x);
        side.AppendF32(uv.y);
    }
    // The map faces are the mesh faces: the channel names the same range.
    return Json {{"vertices", MakeRange(verts, mesh.verts.size(), "f32x3")},
        {"faces", MakeRange(faces, mesh.faces.size(), "u32x3")},
        {"smoothingGroups", MakeRange(groups, mesh.faces.size(), "u32")},
        {"materialIds", MakeRange(ids, mesh.faces.size(), "u16")},
        {"mapChannels",
            Json::array({Json {{"channel", 1}, {"vertices", MakeRange(uvs, mesh.uvs.size(), "f32x2")},
                {"faces", MakeRange(faces, mesh.faces.size(), "u32x3")}}})}};
}

Json MakeColorJson(const HostColor& color)
{
    return Json::array({color.r, color.g, color.b});
}

Json MakeMatrixJson(const HostMatrix3& m)
{
    Json rows = Json::array();
    for (const HostPoint3& row : m.rows)
        rows.push_back(Json::array({row.x, row.y, row.z}));
    return rows;
}

// prefix followed by number (built by appending: the operator+ form trips a false g++ warning).
template <typename Number> std::string Prefixed(const char* prefix, Number number)
{
    std::string text = prefix;
    text += std::to_string(number);
    return text;
}

std::string MaterialId(int index)
{
    return Prefixed("mat", index);
}

Json MakeMaterials(const GeneratedScene& scene)
{
    Json materials = Json::array();
    for (size_t i = 0; i < scene.materials.size(); ++i) {
        const GeneratedMaterial& material = scene.materials[i];
        Json json {{"id", MaterialId(static_cast<int>(i))}, {"name", material.name}};
        if (material.multi) {
            json["type"] = "multi";
            Json subs = Json::array();
            for (int sub : material.subMaterials)
                subs.push_back(MaterialId(sub));
            json["subMaterials"] = subs;
        }
        json["diffuse"] = MakeColorJson(material.diffuse);
        if (material.texture >= 0)
            json["maps"]
                = Json::array({Json {{"channel", 1}, {"texture", Prefixed("tex", material.texture)}}});
        materials.push_back(std::move(json));
    }
    return materials;
}

Json MakeNodes(const GeneratedScene& scene)
{
    Json nodes = Json::array();
    std::vector<std::vector<int>> children(scene.nodes.size());
    for (size_t i = 0; i < scene.nodes.size(); ++i)
        if (scene.nodes[i].parent >= 0)
            children[static_cast<size_t>(scene.nodes[i].parent)].push_back(static_cast<int>(i));
    for (size_t i = 0; i < scene.nodes.size(); ++i) {
        const GeneratedNode& node = scene.nodes[i];
        Json json {{"name", node.name}, {"id", Prefixed("n", i)}};
        if (node.group)
            json["object"] = "groupHead";
        if (node.mesh >= 0)
            json["object"] = Prefixed("mesh", node.mesh);
        if (node.material >= 0)
            json["material"] = MaterialId(node.material);
        json["transform"] = MakeMatrixJson(MakeNodeTransform(node));
        if (!node.userProperties.empty())
            json["userProperties"] = node.userProperties;
        if (!children[i].empty()) {
            Json list = Json::array();
            for (int child : children[i])
                list.push_back(Prefixed("n", child));
            json["children"] = std::move(list);
        }
        nodes.push_back(std::move(json));
    }
    return nodes;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace

SceneFilePaths GetSceneFilePaths(const std::string& path)
{
    const std::filesystem::path json(path);
    std::filesystem::path stem = json;
    stem.replace_extension();
    return SceneFilePaths {path, stem.string() + ".bin", stem.string() + "-textures"};
}

std::string WriteSceneFile(const GeneratedScene& scene, const std::string& path)
{
    const SceneFilePaths paths = GetSceneFilePaths(path);
    const std::string sideName = std::filesystem::path(paths.sideFile).filename().string();
    const std::string textureName = std::filesystem::path(paths.textureFolder).filename().string();
    const std::string stemName = std::filesystem::path(path).stem().string();

    SideFile side;
    Json objects = Json::array();
    for (size_t i = 0; i < scene.meshes.size(); ++i)
        objects.push_back(Json {
            {"id", Prefixed("mesh", i)}, {"type", "mesh"}, {"mesh", MakeMeshJson(scene.meshes[i], side)}});
    for (const GeneratedNode& node : scene.nodes) {
        if (node.group) {
            objects.push_back(Json {{"id", "groupHead"}, {"type", "groupHead"}});
            break;
        }
    }

    Json textures = Json::array();
    for (size_t i = 0; i < scene.textures.size(); ++i)
        textures.push_back(Json {{"id", Prefixed("tex", i)}, {"name", scene.textures[i].name},
            {"file", textureName + "/" + scene.textures[i].fileName}});

    Json root {{"format", "varnex-scene"}, {"version", 1}, {"sceneFile", stemName + ".max"},
        {"buffers", Json::array({Json {{"uri", sideName}, {"byteLength", side.Size()}}})},
        {"textures", std::move(textures)}, {"materials", MakeMaterials(scene)},
        {"objects", std::move(objects)}, {"nodes", MakeNodes(scene)}};

    std::error_code error;
    std::filesystem::create_directories(paths.textureFolder, error);
    if (error || !WriteTextureImages(scene, paths.textureFolder))
        return paths.textureFolder + ": cannot write the texture images";
    if (!WriteBytes(paths.sideFile, side.Bytes()))
        return paths.sideFile + ": cannot write";
    if (!WriteBytes(paths.json, root.dump() + "\n"))
        return paths.json + ": cannot write";
    return "";
}

} // namespace vx::bench
