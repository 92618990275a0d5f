#include "vxinfo/GltfWriter.h"

#include "vxinfo/DesignLoading.h"
#include "vxinfo/DesignTransform.h"
#include "vxinfo/GeometryDecoding.h"
#include "vxinfo/ImageConversion.h"
#include "vxinfo/SceneWalk.h"
#include "vxinfo/TextureIndex.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <map>
#include <set>

namespace vxinfo {

namespace {

using nlohmann::json;

constexpr int FLOAT_TYPE = 5126;
constexpr int UINT32_TYPE = 5125;
constexpr int ARRAY_BUFFER = 34962;
constexpr int ELEMENT_ARRAY_BUFFER = 34963;

class GlbBuilder {
public:
    GlbBuilder(const ReadOnlyDatabase& db, const DesignContent& content)
        : db_(db)
        , c_(content)
        , placements_(IndexPlacements(content))
        , files_(IndexFiles(content))
        , storedTextures_(content)
    {
        doc_["asset"] = {{"version", "2.0"}, {"generator", "vxinfo"}};
        for (const char* key :
            {"nodes", "meshes", "accessors", "bufferViews", "materials", "textures", "images"})
            doc_[key] = json::array();
        for (const GeometryRow& g : c_.geometries)
            geometries_[g.luid] = &g;
    }

    std::string Build(GltfStats* stats)
    {
        // Root node: the database's frame (z up) to glTF's (y up): (x, y, z) -> (x, z, -y).
        json root {{"name", "design"}, {"matrix", {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1}}};
        doc_["nodes"].push_back(root);
        if (!c_.roots.empty()) {
            const auto object = placements_.objects.find(c_.roots.front().object);
            if (object != placements_.objects.end()) {
                std::set<Luid> path;
                const int64_t child = AddObjectNode(*object->second, "root", Affine {}, path);
                doc_["nodes"][0]["children"] = json::array({child});
            }
        }
        doc_["scene"] = 0;
        doc_["scenes"] = json::array({json {{"nodes", json::array({0})}}});
        if (!doc_["textures"].empty())
            doc_["samplers"] = json::array({json {{"magFilter", 9729}, {"minFilter", 9987}}});
        for (const char* key : {"meshes", "accessors", "bufferViews", "materials", "textures", "images"})
            if (doc_[key].empty())
                doc_.erase(key);
        if (!bin_.empty())
            doc_["buffers"] = json::array({json {{"byteLength", bin_.size()}}});
        if (stats) {
            stats->nodes = static_cast<int64_t>(doc_["nodes"].size());
            stats->meshes = doc_.contains("meshes") ? static_cast<int64_t>(doc_["meshes"].size()) : 0;
            stats->materials
                = doc_.contains("materials") ? static_cast<int64_t>(doc_["materials"].size()) : 0;
            stats->images = doc_.contains("images") ? static_cast<int64_t>(doc_["images"].size()) : 0;
        }
        return Assemble();
    }

private:
    // A node for object placed by transform, with its geometry as a child mesh node and its
    // instances as child nodes; returns its index.
    int64_t AddObjectNode(
        const ObjectRow& object, const std::string& name, const Affine& transform, std::set<Luid>& path)
    {
        const auto index = static_cast<int64_t>(doc_["nodes"].size());
        json node {{"name", name.empty() ? object.name : name}};
        if (!transform.IsIdentity())
            node["matrix"] = transform.m;
        doc_["nodes"].push_back(node);
        json children = json::array();
        if (object.geometry) {
            const int64_t mesh = MeshOf(*object.geometry);
            if (mesh >= 0) {
                json meshNode {{"name", object.name}, {"mesh", mesh}};
                const Affine placement = PlacementTransform(object.geometryPlacement);
                if (!placement.IsIdentity())
                    meshNode["matrix"] = placement.m;
                children.push_back(static_cast<int64_t>(doc_["nodes"].size()));
                doc_["nodes"].push_back(meshNode);
            }
        }
        const auto placed = placements_.placedBy.find(object.luid);
        if (placed != placements_.placedBy.end() && path.insert(object.luid).second) {
            for (const InstanceRow* i : placed->second) {
                const auto target = placements_.objects.find(i->object);
                if (target == placements_.objects.end() || path.count(i->object))
                    continue;
                children.push_back(AddObjectNode(*target->second, i->name, InstanceTransform(*i), path));
            }
            path.erase(object.luid);
        }
        if (!children.empty())
            doc_["nodes"][static_cast<std::size_t>(index)]["children"] = children;
        return index;
    }

    int64_t AddView(const void* data, std::size_t size, int target)
    {
        while (bin_.size() % 4 != 0)
            bin_.push_back('\0');
        json view {{"buffer", 0}, {"byteOffset", bin_.size()}, {"byteLength", size}};
        if (target)
            view["target"] = target;
        bin_.append(static_cast<const char*>(data), size);
        doc_["bufferViews"].push_back(view);
        return static_cast<int64_t>(doc_["bufferViews"].size()) - 1;
    }

    template <std::size_t N>
    int64_t AddFloatAccessor(const std::vector<std::array<float, N>>& values, bool withBounds)
    {
        const int64_t view = AddView(values.data(), values.size() * sizeof(values[0]), ARRAY_BUFFER);
        json accessor {{"bufferView", view}, {"componentType", FLOAT_TYPE}, {"count", values.size()},
            {"type", N == 3 ? "VEC3" : "VEC2"}};
        if (withBounds && !values.empty()) {
            std::array<float, N> lo = values[0], hi = values[0];
            for (const auto& v : values)
                for (std::size_t k = 0; k < N; ++k) {
                    lo[k] = std::min(lo[k], v[k]);
                    hi[k] = std::max(hi[k], v[k]);
                }
            accessor["min"] = lo;
            accessor["max"] = hi;
        }
        doc_["accessors"].push_back(accessor);
        return static_cast<int64_t>(doc_["accessors"].size()) - 1;
    }

    int64_t AddIndexAccessor(const std::vector<uint32_t>& indices)
    {
        const int64_t view = AddView(indices.data(), indices.size() * 4, ELEMENT_ARRAY_BUFFER);
        doc_["accessors"].push_back(json {{"bufferView", view}, {"componentType", UINT32_TYPE},
            {"count", indices.size()}, {"type", "SCALAR"}});
        return static_cast<int64_t>(doc_["accessors"].size()) - 1;
    }

    // The glTF mesh of geometry luid, made on first use; -1 when it has nothing to draw.
    int64_t MeshOf(Luid luid)
    {
        const auto known = meshes_.find(luid);
        if (known != meshes_.end())
            return known->second;
        int64_t index = -1;
        const auto row = geometries_.find(luid);
        if (row != geometries_.end())
            index = AddMesh(DecodeGeometry(db_, *row->second, files_), row->second->name);
        meshes_[luid] = index;
        return index;
    }

    int64_t AddMesh(const DecodedGeometry& geometry, const std::string& name)
    {
        json primitives = json::array();
        std::map<int64_t, int64_t> materials; // model material -> glTF material
        for (DecodedSubset subset : geometry.subsets) {
            if (subset.indices.empty())
                continue;
            json attributes {{"POSITION", AddFloatAccessor(subset.positions, true)}};
            if (subset.normals.size() == subset.positions.size()) {
                for (auto& n : subset.normals) {
                    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                    n = length > 1e-12f ? std::array<float, 3> {n[0] / length, n[1] / length, n[2] / length}
                                        : std::array<float, 3> {0, 1, 0};
                }
                attributes["NORMAL"] = AddFloatAccessor(subset.normals, false);
            }
            if (subset.texCoords.size() == subset.positions.size())
                attributes["TEXCOORD_0"] = AddFloatAccessor(subset.texCoords, false);
            json primitive {
                {"attributes", attributes}, {"indices", AddIndexAccessor(subset.indices)}, {"mode", 4}};
            if (subset.material >= 0) {
                auto [entry, added] = materials.try_emplace(subset.material, 0);
                if (added)
                    entry->second
                        = AddMaterial(geometry.model.materials[static_cast<std::size_t>(subset.material)]);
                primitive["material"] = entry->second;
            }
            primitives.push_back(primitive);
        }
        if (primitives.empty())
            return -1;
        doc_["meshes"].push_back(json {{"name", name}, {"primitives", primitives}});
        return static_cast<int64_t>(doc_["meshes"].size()) - 1;
    }

    int64_t AddMaterial(const MaterialDesc& m)
    {
        const Vec3 c = m.BaseColour();
        const double alpha = std::clamp(m.Opacity(), 0.0, 1.0);
        json pbr {
            {"baseColorFactor",
                {std::clamp(c[0], 0.0, 1.0), std::clamp(c[1], 0.0, 1.0), std::clamp(c[2], 0.0, 1.0), alpha}},
            {"metallicFactor", 0.0}, {"roughnessFactor", 0.8}};
        for (const TextureRef& t : m.textures) {
            const int64_t texture = TextureOf(t.name);
            if (texture >= 0) {
                pbr["baseColorTexture"] = {{"index", texture}};
                break;
            }
        }
        json material {{"name", m.effect}, {"pbrMetallicRoughness", pbr}};
        if (alpha < 1.0)
            material["alphaMode"] = "BLEND";
        doc_["materials"].push_back(material);
        return static_cast<int64_t>(doc_["materials"].size()) - 1;
    }

    // The glTF texture of the stored texture named name, made on first use; -1 when there is no
    // such row or its image cannot be decoded.
    int64_t TextureOf(const std::string& name)
    {
        const auto known = textures_.find(name);
        if (known != textures_.end())
            return known->second;
        int64_t index = -1;
        const std::optional<Luid> row = storedTextures_.Find(name);
        if (row) {
            const std::optional<std::string> bytes = ReadTextureBytes(db_, *row);
            const std::optional<ViewerImage> image = bytes ? MakeViewerImage(*bytes) : std::nullopt;
            if (image) {
                const int64_t view = AddView(image->bytes.data(), image->bytes.size(), 0);
                doc_["images"].push_back(json {{"bufferView", view}, {"mimeType", image->mimeType}});
                doc_["textures"].push_back(
                    json {{"source", static_cast<int64_t>(doc_["images"].size()) - 1}, {"sampler", 0}});
                index = static_cast<int64_t>(doc_["textures"].size()) - 1;
            }
        }
        textures_[name] = index;
        return index;
    }

    static void AppendU32(std::string& out, uint32_t v)
    {
        for (int k = 0; k < 4; ++k)
            out.push_back(static_cast<char>((v >> (8 * k)) & 0xFF));
    }

    std::string Assemble()
    {
        std::string text = doc_.dump();
        while (text.size() % 4 != 0)
            text.push_back(' ');
        while (bin_.size() % 4 != 0)
            bin_.push_back('\0');
        std::string glb;
        const std::size_t total = 12 + 8 + text.size() + (bin_.empty() ? 0 : 8 + bin_.size());
        AppendU32(glb, 0x46546C67); // "glTF"
        AppendU32(glb, 2);
        AppendU32(glb, static_cast<uint32_t>(total));
        AppendU32(glb, static_cast<uint32_t>(text.size()));
        AppendU32(glb, 0x4E4F534A); // "JSON"
        glb += text;
        if (!bin_.empty()) {
            AppendU32(glb, static_cast<uint32_t>(bin_.size()));
            AppendU32(glb, 0x004E4942); // "BIN\0"
            glb += bin_;
        }
        return glb;
    }

    const ReadOnlyDatabase& db_;
    const DesignContent& c_;
    PlacementIndex placements_;
    FileIndex files_;
    json doc_;
    std::string bin_;
    std::map<Luid, const GeometryRow*> geometries_;
    std::map<Luid, int64_t> meshes_;
    std::map<std::string, int64_t> textures_;
    TextureIndex storedTextures_;
};

} // namespace

std::string BuildGlb(const ReadOnlyDatabase& db, const DesignContent& content, GltfStats* stats)
{
    return GlbBuilder(db, content).Build(stats);
}

} // namespace vxinfo
