#include "scenefile/SceneFileWriter.h"

#include "memoryhost/MemoryObject.h"
#include "scenefile/SceneArrayWriter.h"
#include "scenefile/SceneJsonLayout.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <span>
#include <unordered_map>
#include <unordered_set>

namespace vx {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kFormatVersion = 1;
constexpr int kCubeMapFacesParam = 10;

Json WritePoint(const HostPoint3& p)
{
    return Json {ToShortestDouble(p.x), ToShortestDouble(p.y), ToShortestDouble(p.z)};
}

Json WriteColor(const HostColor& c)
{
    return Json {ToShortestDouble(c.r), ToShortestDouble(c.g), ToShortestDouble(c.b)};
}

Json WriteClassId(const HostClassId& id)
{
    return Json {id.a, id.b};
}

Json WriteUnit(const HostUnitInfo& unit)
{
    static constexpr const char* kNames[]
        = {"inches", "feet", "miles", "millimeters", "centimeters", "meters", "kilometers"};
    Json type = unit.type >= 0 && unit.type < 7 ? Json(kNames[unit.type]) : Json(unit.type);
    return Json {{"type", type}, {"multiplier", unit.multiplier}};
}

// Ids unique within one kind of declaration, made from names: "Wood", "Wood#2", ...
class IdNames {
public:
    std::string MakeUnique(const std::string& name, const char* fallback)
    {
        const std::string base = name.empty() ? fallback : name;
        std::string id = base;
        for (int n = 2; !used_.insert(id).second; ++n)
            id = base + "#" + std::to_string(n);
        return id;
    }

private:
    std::unordered_set<std::string> used_;
};

class SceneDocumentBuilder {
public:
    explicit SceneDocumentBuilder(const SceneWriteOptions& options)
        : arrays_(options.maxInlineItems)
    {
    }

    Json Build(const MemoryHost& host, const std::string& sideFileName);
    const std::string& GetSideFileBytes() const { return arrays_.GetSideFileBytes(); }

private:
    Json WriteNode(const MemoryNode& node);
    std::string DeclareTexture(const HostTexture* texture);
    std::string DeclareMaterial(const HostMaterial* material);
    std::string DeclareObject(const HostObject* object, const std::string& nodeName);
    Json WriteTexture(const MemoryTexture& texture);
    Json WriteMaterial(const MemoryMaterial& material);
    Json WriteObject(const MemoryObject& object, const std::string& nodeName);
    Json WriteMesh(const MemoryMesh& mesh);

    SceneArrayWriter arrays_;
    IdNames textureIds_, materialIds_, objectIds_;
    std::unordered_map<const void*, std::string> declared_;
    Json textures_ = Json::array();
    Json materials_ = Json::array();
    Json objects_ = Json::array();
};

Json SceneDocumentBuilder::Build(const MemoryHost& host, const std::string& sideFileName)
{
    Json nodes = Json::array();
    const MemoryNode& root = const_cast<MemoryHost&>(host).GetRoot();
    for (const MemoryNode* child : root.GetChildren())
        nodes.push_back(WriteNode(*child));

    Json document {{"format", "varnex-scene"}, {"version", kFormatVersion}};
    if (const char* sceneFile = host.GetCurFilePath(); sceneFile && *sceneFile)
        document["sceneFile"] = sceneFile;
    document["unit"] = WriteUnit(host.GetMasterUnitInfo());
    const HostInterval range = host.GetAnimRange();
    if (host.GetTicksPerFrame() != 160 || !(range == HostInterval {0, 100 * 160}))
        document["timeline"] = Json {{"timeUnit", "ticks"}, {"ticksPerFrame", host.GetTicksPerFrame()},
            {"start", range.start}, {"end", range.end}};
    if (host.GetMapDirCount() > 0) {
        Json dirs = Json::array();
        for (int i = 0; i < host.GetMapDirCount(); ++i)
            dirs.push_back(host.GetMapDir(i));
        document["mapDirectories"] = dirs;
    }
    if (!GetSideFileBytes().empty())
        document["buffers"]
            = Json::array({{{"uri", sideFileName}, {"byteLength", GetSideFileBytes().size()}}});
    if (const char* text = root.GetUserPropBuffer(); text && *text)
        document["rootUserProperties"] = text;
    document["textures"] = std::move(textures_);
    document["materials"] = std::move(materials_);
    document["objects"] = std::move(objects_);
    document["nodes"] = std::move(nodes);
    return document;
}

Json SceneDocumentBuilder::WriteNode(const MemoryNode& node)
{
    Json out {{"name", node.GetName()}};
    if (const HostObject* object = node.GetObjectRef())
        out["object"] = DeclareObject(object, node.GetName());
    if (const HostMaterial* material = node.GetMaterial())
        out["material"] = DeclareMaterial(material);
    // A node with a transform controller is written as it stands at time 0.
    const HostMatrix3 local
        = node.GetTMController() ? node.GetNodeTM(0) * Inverse(node.GetParentTM(0)) : node.GetLocalTM();
    if (!(local == HostMatrix3::Identity()))
        out["transform"] = Json {WritePoint(local.rows[0]), WritePoint(local.rows[1]),
            WritePoint(local.rows[2]), WritePoint(local.rows[3])};
    const HostQuat rotation = node.GetObjOffsetRot();
    if (!(node.GetObjOffsetPos() == HostPoint3 {}) || !(rotation == HostQuat {})
        || !(node.GetObjOffsetScale() == HostPoint3 {1, 1, 1}))
        out["objectOffset"] = Json {{"position", WritePoint(node.GetObjOffsetPos())},
            {"rotation",
                {ToShortestDouble(rotation.x), ToShortestDouble(rotation.y), ToShortestDouble(rotation.z),
                    ToShortestDouble(rotation.w)}},
            {"scale", WritePoint(node.GetObjOffsetScale())}};
    if (node.IsWorldSpaceModifier())
        out["worldSpaceModifier"] = true;
    if (const char* text = node.GetUserPropBuffer(); text && *text)
        out["userProperties"] = text;
    const std::uint32_t wire = node.GetWireColor();
    if (wire != 0x00808080)
        out["wireColor"] = Json {wire & 0xFF, (wire >> 8) & 0xFF, (wire >> 16) & 0xFF};
    if (node.GetVisibility(0) != 1.0f)
        out["visibility"] = ToShortestDouble(node.GetVisibility(0));
    if (node.IsHidden())
        out["hidden"] = true;
    if (!node.GetChildren().empty()) {
        Json children = Json::array();
        for (const MemoryNode* child : node.GetChildren())
            children.push_back(WriteNode(*child));
        out["children"] = std::move(children);
    }
    return out;
}

std::string SceneDocumentBuilder::DeclareTexture(const HostTexture* texture)
{
    if (auto found = declared_.find(texture); found != declared_.end())
        return found->second;
    const auto* memory = dynamic_cast<const MemoryTexture*>(texture);
    std::string id = textureIds_.MakeUnique(texture->GetName(), "texture");
    declared_.emplace(texture, id);
    if (memory) {
        Json out {{"id", id}};
        out.update(WriteTexture(*memory));
        textures_.push_back(std::move(out));
    }
    return id;
}

Json SceneDocumentBuilder::WriteTexture(const MemoryTexture& texture)
{
    const HostClassId classId = texture.GetClassId();
    const char* type = texture.pattern
        ? (texture.pattern->kind == ProceduralPattern::Kind::Checker ? "checker" : "gradient")
        : classId == kClassBitmapTexture  ? "bitmap"
        : classId == kClassCubeMapTexture ? "cubeMap"
                                          : "other";
    Json out {{"name", texture.GetName()}, {"type", type}, {"classId", WriteClassId(classId)},
        {"uvwSource", texture.uvwSource}, {"mapChannel", texture.mapChannel}};
    const std::string_view kind(type);
    if (kind == "bitmap") {
        out["file"] = texture.mapName;
        out["filterType"] = texture.filterType;
        out["alphaSource"] = texture.alphaSource;
        out["playbackRate"] = ToShortestDouble(texture.playbackRate);
        if (texture.bitmap) {
            const MemoryImage& image = *texture.bitmap;
            Json bitmap {{"width", image.width}, {"height", image.height},
                {"aspect", ToShortestDouble(image.aspect)}, {"hasAlpha", image.hasAlpha}};
            if (!image.pixels.empty())
                bitmap["pixels"] = arrays_.WritePixels(image.pixels);
            out["bitmap"] = std::move(bitmap);
        }
    } else if (kind == "cubeMap") {
        Json faces = Json::array();
        for (int i = 0; i < 6; ++i) {
            const auto found = texture.paramTexts.find({kCubeMapFacesParam, i});
            faces.push_back(found == texture.paramTexts.end() ? std::string() : found->second);
        }
        out["faces"] = std::move(faces);
    } else if (texture.pattern) {
        const ProceduralPattern& pattern = *texture.pattern;
        const bool checker = pattern.kind == ProceduralPattern::Kind::Checker;
        Json colours = Json::array();
        for (int i = 0; i < (checker ? 2 : 3); ++i)
            colours.push_back(WriteColor(pattern.colours[i]));
        out["colors"] = std::move(colours);
        if (checker)
            out["tiles"] = pattern.tiles;
    }
    if (!texture.subTextures.empty()) {
        Json slots = Json::array();
        for (const HostTexture* sub : texture.subTextures)
            slots.push_back(sub ? Json(DeclareTexture(sub)) : Json(nullptr));
        out["subTextures"] = std::move(slots);
    }
    return out;
}

std::string SceneDocumentBuilder::DeclareMaterial(const HostMaterial* material)
{
    if (auto found = declared_.find(material); found != declared_.end())
        return found->second;
    std::string id = materialIds_.MakeUnique(material->GetName(), "material");
    declared_.emplace(material, id);
    if (const auto* memory = dynamic_cast<const MemoryMaterial*>(material)) {
        Json out {{"id", id}};
        out.update(WriteMaterial(*memory));
        materials_.push_back(std::move(out));
    }
    return id;
}

Json SceneDocumentBuilder::WriteMaterial(const MemoryMaterial& material)
{
    const HostClassId classId = material.GetClassId();
    const char* type = classId == kClassStandardMaterial ? "standard"
        : classId == kClassMultiMaterial                 ? "multi"
        : classId == kClassShellMaterial                 ? "shell"
        : classId == kClassDoubleSidedMaterial           ? "doubleSided"
                                                         : "other";
    Json out {{"name", material.GetName()}, {"type", type}, {"classId", WriteClassId(classId)},
        {"ambient", WriteColor(material.ambient)}, {"diffuse", WriteColor(material.diffuse)},
        {"specular", WriteColor(material.specular)}, {"shininess", ToShortestDouble(material.shininess)},
        {"shininessStrength", ToShortestDouble(material.shininessStrength)},
        {"selfIllumination", ToShortestDouble(material.selfIllumination)},
        {"selfIllumColorOn", material.selfIllumColorOn},
        {"selfIllumColor", WriteColor(material.selfIllumColor)},
        {"opacity", ToShortestDouble(material.opacity)}, {"transparencyType", material.transparencyType},
        {"twoSided", material.twoSided}, {"wire", material.wire},
        {"wireSize", ToShortestDouble(material.wireSize)}, {"shading", material.shading},
        {"faceted", material.faceted}};
    Json maps = Json::array();
    for (size_t channel = 0; channel < material.maps.size(); ++channel) {
        const MemoryMaterialMap& map = material.maps[channel];
        if (!map.texture)
            continue;
        maps.push_back({{"channel", channel}, {"texture", DeclareTexture(map.texture)},
            {"amount", ToShortestDouble(map.amount)}, {"enabled", map.enabled}});
    }
    if (!maps.empty())
        out["maps"] = std::move(maps);
    if (!material.subMaterials.empty()) {
        Json slots = Json::array();
        for (const HostMaterial* sub : material.subMaterials)
            slots.push_back(sub ? Json(DeclareMaterial(sub)) : Json(nullptr));
        out["subMaterials"] = std::move(slots);
    }
    if (const MemoryShader* shader = material.shader.get()) {
        Json ints = Json::object(), floats = Json::object(), colors = Json::object();
        for (const auto& [id, value] : shader->intParams)
            ints[std::to_string(id)] = value;
        for (const auto& [id, value] : shader->floatParams)
            floats[std::to_string(id)] = ToShortestDouble(value);
        for (const auto& [id, value] : shader->colorParams)
            colors[std::to_string(id)] = WriteColor(value);
        out["shader"]
            = Json {{"classId", WriteClassId(shader->classId)}, {"ambient", WriteColor(shader->ambient)},
                {"diffuse", WriteColor(shader->diffuse)}, {"specular", WriteColor(shader->specular)},
                {"ints", ints}, {"floats", floats}, {"colors", colors}};
    }
    return out;
}

std::string SceneDocumentBuilder::DeclareObject(const HostObject* object, const std::string& nodeName)
{
    if (auto found = declared_.find(object); found != declared_.end())
        return found->second;
    std::string id = objectIds_.MakeUnique(nodeName, "object");
    declared_.emplace(object, id);
    if (const auto* memory = dynamic_cast<const MemoryObject*>(object)) {
        Json out {{"id", id}};
        out.update(WriteObject(*memory, nodeName));
        objects_.push_back(std::move(out));
    }
    return id;
}

Json SceneDocumentBuilder::WriteObject(const MemoryObject& object, const std::string& nodeName)
{
    const std::uint32_t superClass = object.GetSuperClassId();
    const HostClassId classId = object.GetClassId();
    Json out;
    out["classId"] = WriteClassId(classId);
    if (IsDerivedSuperClass(superClass)) {
        out["type"] = "derived";
        if (const HostObject* base = object.GetReferencedObject())
            out["base"] = DeclareObject(base, nodeName + " base");
        out["modifiers"] = object.GetNumModifiers();
        return out;
    }
    switch (superClass) {
    case kSuperClassGeometry:
        out["type"] = classId == kClassTriangleMesh ? "mesh"
            : classId == kClassEditableMesh         ? "editableMesh"
                                                    : "geometry";
        break;
    case kSuperClassShape:
        out["type"] = "shape";
        break;
    case kSuperClassCamera:
        out["type"] = "camera";
        break;
    case kSuperClassLight:
        out["type"] = "light";
        break;
    default:
        out["type"] = classId == kClassGroupHead ? "groupHead" : "helper";
        break;
    }
    const MemoryMesh* mesh = object.GetMemoryMesh();
    if (superClass == kSuperClassGeometry || (superClass == kSuperClassShape && mesh))
        out["mesh"] = mesh ? WriteMesh(*mesh) : Json {{"vertices", Json::array()}};
    if (superClass == kSuperClassShape) {
        Json splines = Json::array();
        if (const HostShape* shape = object.GetShape())
            for (const HostSpline& spline : shape->splines) {
                Json knots = Json::array();
                for (const HostSplineKnot& knot : spline.knots)
                    knots.push_back({{"point", WritePoint(knot.point)}, {"in", WritePoint(knot.inVec)},
                        {"out", WritePoint(knot.outVec)}});
                splines.push_back({{"closed", spline.closed}, {"knots", std::move(knots)}});
            }
        out["splines"] = std::move(splines);
    }
    return out;
}

Json SceneDocumentBuilder::WriteMesh(const MemoryMesh& mesh)
{
    const HostArray<HostPoint3> verts = mesh.GetVerts();
    const HostArray<HostFace> faces = mesh.GetFaces();
    Json out;
    out["vertices"] = arrays_.WritePoints({verts.begin(), verts.end()});
    const std::span<const HostFace> faceList(faces.begin(), faces.end());
    out["faces"] = arrays_.WriteFaces(faceList);
    std::vector<std::uint32_t> groups, ids;
    bool anyGroup = false, anyId = false;
    for (const HostFace& face : faceList) {
        groups.push_back(face.smGroup);
        ids.push_back(face.GetMatId());
        anyGroup = anyGroup || face.smGroup != 0;
        anyId = anyId || face.GetMatId() != 0;
    }
    if (anyGroup)
        out["smoothingGroups"] = arrays_.WriteValues(groups);
    if (anyId)
        out["materialIds"] = arrays_.WriteValues(ids);
    if (!mesh.GetExplicitNormals().empty())
        out["normals"] = arrays_.WritePoints(mesh.GetExplicitNormals());
    Json channels = Json::array();
    for (int channel = 0; channel < mesh.GetNumMaps(); ++channel) {
        if (!mesh.GetMapSupport(channel))
            continue;
        const HostArray<HostPoint3> mapVerts = mesh.GetMapVerts(channel);
        const HostArray<HostTVFace> mapFaces = mesh.GetMapFaces(channel);
        channels.push_back(
            {{"channel", channel}, {"vertices", arrays_.WritePoints({mapVerts.begin(), mapVerts.end()})},
                {"faces", arrays_.WriteMapFaces({mapFaces.begin(), mapFaces.end()})}});
    }
    if (!channels.empty())
        out["mapChannels"] = std::move(channels);
    return out;
}

std::optional<SceneWriteError> WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file)
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file)
        file.close();
    if (!file)
        return SceneWriteError {path, std::string("cannot write the file: ") + std::strerror(errno)};
    return std::nullopt;
}

} // namespace

std::optional<SceneWriteError> WriteSceneFile(
    const MemoryHost& host, const std::string& path, const SceneWriteOptions& options)
{
    const std::filesystem::path scenePath(path);
    std::filesystem::path sidePath = scenePath;
    sidePath.replace_extension(".bin");
    if (sidePath == scenePath)
        sidePath = path + ".bin";
    SceneDocumentBuilder builder(options);
    const Json document = builder.Build(host, sidePath.filename().string());
    if (!builder.GetSideFileBytes().empty())
        if (auto error = WriteBytes(sidePath.string(), builder.GetSideFileBytes()))
            return error;
    // Invalid UTF-8 in a name or path is replaced rather than refused: the loader reads UTF-8 only.
    return WriteBytes(path, FormatSceneJson(document));
}

} // namespace vx
