#include "scenefile/SceneDeclarationReader.h"

#include "scenefile/SceneArrayReader.h"
#include "scenefile/SceneMeshReader.h"

#include <deque>
#include <set>
#include <string_view>
#include <unordered_map>

namespace vx {

namespace {

// Names of the kinds of textures, materials and objects with their default class identifiers.
struct KindName {
    std::string_view name;
    HostClassId classId;
    std::uint32_t superClass = 0;
};

constexpr KindName kTextureKinds[] = {
    {"bitmap", kClassBitmapTexture},
    {"cubeMap", kClassCubeMapTexture},
    {"checker", kClassCheckerTexture},
    {"gradient", kClassGradientTexture},
    {"other", {}},
};

constexpr KindName kMaterialKinds[] = {
    {"standard", kClassStandardMaterial},
    {"multi", kClassMultiMaterial},
    {"shell", kClassShellMaterial},
    {"doubleSided", kClassDoubleSidedMaterial},
    {"other", {}},
};

constexpr KindName kObjectKinds[] = {
    {"mesh", kClassTriangleMesh, kSuperClassGeometry},
    {"editableMesh", kClassEditableMesh, kSuperClassGeometry},
    {"geometry", {}, kSuperClassGeometry},
    {"shape", {}, kSuperClassShape},
    {"camera", {}, kSuperClassCamera},
    {"light", {}, kSuperClassLight},
    {"helper", {}, kSuperClassHelper},
    {"groupHead", kClassGroupHead, kSuperClassHelper},
    {"derived", {}, kSuperClassDerivedObject},
};

template <size_t N>
const KindName& ReadKind(const JsonReader& reader, const JsonAt& at, const KindName (&kinds)[N])
{
    const std::string name = reader.ReadString(at);
    std::string names;
    for (const KindName& kind : kinds) {
        if (kind.name == name)
            return kind;
        names += names.empty() ? "" : ", ";
        names += kind.name;
    }
    reader.Fail(
        SceneLoadErrorKind::InvalidValue, at.pointer, "unknown type \"" + name + "\" (known: " + names + ")");
}

// The class identifier: "classId" when given, else the kind's default; kinds without a default
// ("other") need it.
HostClassId ReadClassId(const JsonReader& reader, const JsonAt& declaration, const KindName& kind)
{
    auto classIdAt = reader.FindField(declaration, "classId");
    if (!classIdAt) {
        if (kind.name == "other")
            reader.Fail(SceneLoadErrorKind::MissingField, declaration.pointer,
                "the field \"classId\" is required for the type \"other\"");
        return kind.classId;
    }
    if (reader.RequireArray(*classIdAt) != 2)
        reader.Fail(
            SceneLoadErrorKind::InvalidValue, classIdAt->pointer, "a class id is two 32-bit integers [a, b]");
    return {static_cast<std::uint32_t>(reader.ReadUnsigned(reader.GetElement(*classIdAt, 0), UINT32_MAX)),
        static_cast<std::uint32_t>(reader.ReadUnsigned(reader.GetElement(*classIdAt, 1), UINT32_MAX))};
}

// Reads the id of a declaration and checks that no earlier one of its kind has it.
template <typename Table>
std::string ReadNewId(const JsonReader& reader, const JsonAt& at, const Table& table)
{
    const JsonAt idAt = reader.GetField(at, "id");
    std::string id = reader.ReadString(idAt);
    if (table.count(id))
        reader.Fail(SceneLoadErrorKind::DuplicateId, idAt.pointer, "the id \"" + id + "\" is declared twice");
    return id;
}

void CheckDeclarationCount(const SceneReadContext& context, const JsonAt& at, size_t count, const char* what)
{
    if (count > context.limits.maxDeclarations)
        context.reader.Fail(SceneLoadErrorKind::SizeLimit, at.pointer,
            "the file declares " + std::to_string(count) + " " + what + "; at most "
                + std::to_string(context.limits.maxDeclarations) + " are allowed");
}

// A slot list of ids: each element an id of table or null (an empty slot).
template <typename Table, typename Slot>
std::vector<Slot*> ReadSlots(const JsonReader& reader, const JsonAt& at, const Table& table, const char* what)
{
    std::vector<Slot*> slots;
    const size_t count = reader.RequireArray(at);
    for (size_t i = 0; i < count; ++i) {
        const JsonAt slotAt = reader.GetElement(at, i);
        if (slotAt.value.is_null()) {
            slots.push_back(nullptr);
            continue;
        }
        const std::string id = reader.ReadString(slotAt);
        const auto found = table.find(id);
        if (found == table.end())
            reader.Fail(SceneLoadErrorKind::UnknownReference, slotAt.pointer,
                std::string("no ") + what + " has the id \"" + id + "\"");
        slots.push_back(found->second);
    }
    return slots;
}

// Checks a graph of declarations (edges[i]: the declarations that i refers to): no cycles, and no
// chain of references longer than maxDepth. pointers[i] locates declaration i for the error.
void CheckReferenceGraph(const SceneReadContext& context, const std::vector<std::vector<int>>& edges,
    const std::vector<std::string>& pointers, const char* what)
{
    // Kahn's algorithm from the leaves up: whatever is never freed lies on a cycle.
    const size_t count = edges.size();
    std::vector<std::vector<int>> referrers(count);
    std::vector<size_t> unresolved(count, 0);
    for (size_t i = 0; i < count; ++i) {
        unresolved[i] = edges[i].size();
        for (int target : edges[i])
            referrers[target].push_back(static_cast<int>(i));
    }
    std::vector<int> height(count, 0);
    std::deque<int> ready;
    for (size_t i = 0; i < count; ++i)
        if (unresolved[i] == 0)
            ready.push_back(static_cast<int>(i));
    size_t done = 0;
    while (!ready.empty()) {
        const int i = ready.front();
        ready.pop_front();
        ++done;
        if (height[i] + 1 > context.limits.maxMaterialDepth)
            context.reader.Fail(SceneLoadErrorKind::TooDeep, pointers[i],
                std::string(what) + " nest deeper than " + std::to_string(context.limits.maxMaterialDepth)
                    + " levels");
        for (int referrer : referrers[i]) {
            height[referrer] = std::max(height[referrer], height[i] + 1);
            if (--unresolved[referrer] == 0)
                ready.push_back(referrer);
        }
    }
    if (done == count)
        return;
    for (size_t i = 0; i < count; ++i)
        if (unresolved[i] != 0)
            context.reader.Fail(SceneLoadErrorKind::ReferenceCycle, pointers[i],
                std::string("the references of these ") + what + " form a cycle");
}

// Declaration index by address.
template <typename Pointer>
std::unordered_map<const void*, int> IndexDeclarations(const std::vector<Pointer*>& all)
{
    std::unordered_map<const void*, int> index;
    for (size_t i = 0; i < all.size(); ++i)
        index[all[i]] = static_cast<int>(i);
    return index;
}

template <typename Pointer>
std::vector<int> IndicesOf(
    const std::vector<Pointer*>& slots, const std::unordered_map<const void*, int>& index)
{
    std::vector<int> result;
    for (Pointer* slot : slots)
        if (slot)
            result.push_back(index.at(slot));
    return result;
}

// Second pass over declarations that refer to each other through a list field (sub-textures,
// sub-materials): resolves each list into the declaration's slots and refuses reference cycles.
// Slots of a list may be empty (null).
template <typename Table, typename Declaration, typename SlotList>
void LinkSubSlots(SceneReadContext& context, const JsonAt& at, const std::vector<Declaration*>& all,
    const Table& table, const char* field, const char* what, const char* kinds, SlotList Declaration::*member)
{
    const JsonReader& reader = context.reader;
    const auto index = IndexDeclarations(all);
    std::vector<std::vector<int>> edges(all.size());
    std::vector<std::string> pointers(all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        const JsonAt declarationAt = reader.GetElement(at, i);
        pointers[i] = declarationAt.pointer;
        if (auto slotsAt = reader.FindField(declarationAt, field)) {
            std::vector<Declaration*> slots = ReadSlots<Table, Declaration>(reader, *slotsAt, table, what);
            edges[i] = IndicesOf(slots, index);
            (all[i]->*member).assign(slots.begin(), slots.end());
        }
    }
    CheckReferenceGraph(context, edges, pointers, kinds);
}

// ---- textures -------------------------------------------------------------------------------

void ReadBitmap(SceneReadContext& context, const JsonAt& at, MemoryTexture& texture)
{
    const JsonReader& reader = context.reader;
    reader.RequireObject(at, {"width", "height", "aspect", "hasAlpha", "pixels"});
    MemoryImage bitmap;
    bitmap.width = static_cast<int>(reader.ReadInteger(reader.GetField(at, "width"), 1, 65536));
    bitmap.height = static_cast<int>(reader.ReadInteger(reader.GetField(at, "height"), 1, 65536));
    if (auto aspectAt = reader.FindField(at, "aspect"))
        bitmap.aspect = reader.ReadFloatIn(*aspectAt, 1e-6f, 1e6f);
    if (auto alphaAt = reader.FindField(at, "hasAlpha"))
        bitmap.hasAlpha = reader.ReadBool(*alphaAt);
    if (auto pixelsAt = reader.FindField(at, "pixels")) {
        const std::uint64_t expected = std::uint64_t(bitmap.width) * std::uint64_t(bitmap.height);
        bitmap.pixels = ReadPixelArray(context, *pixelsAt);
        if (bitmap.pixels.size() != expected)
            reader.Fail(SceneLoadErrorKind::InvalidValue, pixelsAt->pointer,
                "the bitmap has " + std::to_string(expected) + " pixels (width x height), the array "
                    + std::to_string(bitmap.pixels.size()));
    }
    texture.bitmap = std::move(bitmap);
}

// The pattern of a checker (two colours, "tiles" squares along each side) or a gradient (three
// colours, top to bottom).
ProceduralPattern ReadPattern(const JsonReader& reader, const JsonAt& at, bool checker)
{
    ProceduralPattern pattern;
    pattern.kind = checker ? ProceduralPattern::Kind::Checker : ProceduralPattern::Kind::Gradient;
    const size_t wanted = checker ? 2 : 3;
    pattern.colours = checker
        ? std::array<HostColor, 3> {HostColor {0, 0, 0}, HostColor {1, 1, 1}, HostColor {}}
        : std::array<HostColor, 3> {HostColor {0, 0, 0}, HostColor {0.5f, 0.5f, 0.5f}, HostColor {1, 1, 1}};
    if (auto coloursAt = reader.FindField(at, "colors")) {
        if (reader.RequireArray(*coloursAt) != wanted)
            reader.Fail(SceneLoadErrorKind::InvalidValue, coloursAt->pointer,
                std::string(checker ? "a checker has 2 colours" : "a gradient has 3 colours") + ", found "
                    + std::to_string(coloursAt->value.size()));
        for (size_t i = 0; i < wanted; ++i)
            pattern.colours[i] = reader.ReadColor(reader.GetElement(*coloursAt, i));
    }
    if (auto tilesAt = reader.FindField(at, "tiles"))
        pattern.tiles = static_cast<int>(reader.ReadInteger(*tilesAt, 1, 1024));
    return pattern;
}

void ReadTextureFields(
    SceneReadContext& context, const JsonAt& at, MemoryTexture& texture, const KindName& kind)
{
    const JsonReader& reader = context.reader;
    if (auto fileAt = reader.FindField(at, "file"))
        texture.mapName = context.ResolveImagePath(reader.ReadString(*fileAt));
    if (auto facesAt = reader.FindField(at, "faces")) {
        if (reader.RequireArray(*facesAt) != 6)
            reader.Fail(SceneLoadErrorKind::InvalidValue, facesAt->pointer,
                "a cube map has 6 face images, found " + std::to_string(facesAt->value.size()));
        for (size_t i = 0; i < 6; ++i)
            texture.paramTexts[{10, static_cast<int>(i)}]
                = context.ResolveImagePath(reader.ReadString(reader.GetElement(*facesAt, i)));
    } else if (kind.classId == kClassCubeMapTexture) {
        reader.Fail(SceneLoadErrorKind::MissingField, at.pointer, "the required field \"faces\" is missing");
    }
    if (auto sourceAt = reader.FindField(at, "uvwSource"))
        texture.uvwSource = static_cast<int>(reader.ReadInteger(*sourceAt, 0, 3));
    if (auto channelAt = reader.FindField(at, "mapChannel"))
        texture.mapChannel = static_cast<int>(reader.ReadInteger(*channelAt, 1, 99));
    if (auto filterAt = reader.FindField(at, "filterType"))
        texture.filterType = static_cast<int>(reader.ReadInteger(*filterAt, 0, 2));
    if (auto alphaAt = reader.FindField(at, "alphaSource"))
        texture.alphaSource = static_cast<int>(reader.ReadInteger(*alphaAt, 0, 3));
    if (auto rateAt = reader.FindField(at, "playbackRate"))
        texture.playbackRate = reader.ReadFloatIn(*rateAt, 0.0f, 1000.0f);
    if (auto bitmapAt = reader.FindField(at, "bitmap"))
        ReadBitmap(context, *bitmapAt, texture);
    if (kind.name == "checker" || kind.name == "gradient")
        texture.pattern = ReadPattern(reader, at, kind.name == "checker");
}

// ---- materials ------------------------------------------------------------------------------

std::unique_ptr<MemoryShader> ReadShader(const SceneReadContext& context, const JsonAt& at)
{
    const JsonReader& reader = context.reader;
    reader.RequireObject(at, {"classId", "ambient", "diffuse", "specular", "ints", "floats", "colors"});
    auto shader = std::make_unique<MemoryShader>();
    reader.GetField(at, "classId"); // required: a shader is known only by its class
    shader->classId = ReadClassId(reader, at, KindName {"shader", {}});
    if (auto colorAt = reader.FindField(at, "ambient"))
        shader->ambient = reader.ReadColor(*colorAt);
    if (auto colorAt = reader.FindField(at, "diffuse"))
        shader->diffuse = reader.ReadColor(*colorAt);
    if (auto colorAt = reader.FindField(at, "specular"))
        shader->specular = reader.ReadColor(*colorAt);
    // Parameter tables: {"<id>": value}, the id a decimal integer.
    const auto forEachParameter = [&](std::string_view field, auto read) {
        auto tableAt = reader.FindField(at, field);
        if (!tableAt)
            return;
        if (!tableAt->value.is_object())
            reader.Fail(SceneLoadErrorKind::WrongType, tableAt->pointer,
                std::string("expected an object, found ") + JsonReader::GetTypeName(tableAt->value));
        for (const auto& [key, value] : tableAt->value.items()) {
            const JsonAt valueAt {value, AppendPointer(tableAt->pointer, key)};
            int id = 0;
            size_t used = 0;
            try {
                id = std::stoi(key, &used);
            } catch (const std::exception&) {
                used = 0;
            }
            if (used == 0 || used != key.size())
                reader.Fail(SceneLoadErrorKind::InvalidValue, valueAt.pointer,
                    "a parameter is named by its decimal identifier, not \"" + key + "\"");
            read(id, valueAt);
        }
    };
    forEachParameter("ints", [&](int id, const JsonAt& valueAt) {
        shader->intParams[id] = static_cast<int>(reader.ReadInteger(valueAt, INT32_MIN, INT32_MAX));
    });
    forEachParameter("floats",
        [&](int id, const JsonAt& valueAt) { shader->floatParams[id] = reader.ReadFloat(valueAt); });
    forEachParameter("colors",
        [&](int id, const JsonAt& valueAt) { shader->colorParams[id] = reader.ReadColor(valueAt); });
    return shader;
}

void ReadMaterialMaps(const SceneReadContext& context, const JsonAt& at, MemoryMaterial& material)
{
    const JsonReader& reader = context.reader;
    const size_t count = reader.RequireArray(at);
    std::set<int> seen;
    for (size_t i = 0; i < count; ++i) {
        const JsonAt mapAt = reader.GetElement(at, i);
        reader.RequireObject(mapAt, {"channel", "texture", "amount", "enabled"});
        const JsonAt channelAt = reader.GetField(mapAt, "channel");
        const int channel
            = static_cast<int>(reader.ReadInteger(channelAt, 0, MemoryMaterial::kMaxMapChannels - 1));
        if (!seen.insert(channel).second)
            reader.Fail(SceneLoadErrorKind::DuplicateId, channelAt.pointer,
                "map channel " + std::to_string(channel) + " is given twice");
        MemoryMaterialMap map;
        const JsonAt textureAt = reader.GetField(mapAt, "texture");
        const std::string id = reader.ReadString(textureAt);
        const auto found = context.textures.find(id);
        if (found == context.textures.end())
            reader.Fail(SceneLoadErrorKind::UnknownReference, textureAt.pointer,
                "no texture has the id \"" + id + "\"");
        map.texture = found->second;
        if (auto amountAt = reader.FindField(mapAt, "amount"))
            map.amount = reader.ReadFloatIn(*amountAt, 0.0f, 10.0f);
        if (auto enabledAt = reader.FindField(mapAt, "enabled"))
            map.enabled = reader.ReadBool(*enabledAt);
        material.SetMap(channel, map);
    }
}

void ReadMaterialFields(const SceneReadContext& context, const JsonAt& at, MemoryMaterial& material)
{
    const JsonReader& reader = context.reader;
    if (auto v = reader.FindField(at, "ambient"))
        material.ambient = reader.ReadColor(*v);
    if (auto v = reader.FindField(at, "diffuse"))
        material.diffuse = reader.ReadColor(*v);
    if (auto v = reader.FindField(at, "specular"))
        material.specular = reader.ReadColor(*v);
    if (auto v = reader.FindField(at, "shininess"))
        material.shininess = reader.ReadFloatIn(*v, 0.0f, 1.0f);
    if (auto v = reader.FindField(at, "shininessStrength"))
        material.shininessStrength = reader.ReadFloatIn(*v, 0.0f, 10.0f);
    if (auto v = reader.FindField(at, "selfIllumination"))
        material.selfIllumination = reader.ReadFloatIn(*v, 0.0f, 1.0f);
    if (auto v = reader.FindField(at, "selfIllumColorOn"))
        material.selfIllumColorOn = reader.ReadBool(*v);
    if (auto v = reader.FindField(at, "selfIllumColor"))
        material.selfIllumColor = reader.ReadColor(*v);
    if (auto v = reader.FindField(at, "opacity"))
        material.opacity = reader.ReadFloatIn(*v, 0.0f, 1.0f);
    if (auto v = reader.FindField(at, "twoSided"))
        material.twoSided = reader.ReadBool(*v);
    if (auto v = reader.FindField(at, "wire"))
        material.wire = reader.ReadBool(*v);
    if (auto v = reader.FindField(at, "wireSize"))
        material.wireSize = reader.ReadFloatIn(*v, 0.0f, 10000.0f);
    if (auto v = reader.FindField(at, "shading"))
        material.shading = static_cast<int>(reader.ReadInteger(*v, 0, 7));
    if (auto v = reader.FindField(at, "faceted"))
        material.faceted = reader.ReadBool(*v);
    if (auto v = reader.FindField(at, "transparencyType"))
        material.transparencyType = static_cast<int>(reader.ReadInteger(*v, 0, 2));
    if (auto v = reader.FindField(at, "maps"))
        ReadMaterialMaps(context, *v, material);
    if (auto v = reader.FindField(at, "shader"))
        material.shader = ReadShader(context, *v);
}

// ---- objects --------------------------------------------------------------------------------

MemoryShape ReadSplines(const JsonReader& reader, const JsonAt& at)
{
    std::vector<MemorySpline> splines;
    const size_t count = reader.RequireArray(at);
    for (size_t i = 0; i < count; ++i) {
        const JsonAt splineAt = reader.GetElement(at, i);
        reader.RequireObject(splineAt, {"closed", "knots"});
        MemorySpline spline;
        if (auto closedAt = reader.FindField(splineAt, "closed"))
            spline.closed = reader.ReadBool(*closedAt);
        const JsonAt knotsAt = reader.GetField(splineAt, "knots");
        const size_t knots = reader.RequireArray(knotsAt);
        for (size_t k = 0; k < knots; ++k) {
            const JsonAt knotAt = reader.GetElement(knotsAt, k);
            reader.RequireObject(knotAt, {"point", "in", "out"});
            HostSplineKnot knot;
            knot.point = reader.ReadPoint3(reader.GetField(knotAt, "point"));
            knot.inVec = knot.outVec = knot.point;
            if (auto inAt = reader.FindField(knotAt, "in"))
                knot.inVec = reader.ReadPoint3(*inAt);
            if (auto outAt = reader.FindField(knotAt, "out"))
                knot.outVec = reader.ReadPoint3(*outAt);
            spline.knots.push_back(knot);
        }
        splines.push_back(std::move(spline));
    }
    return MemoryShape(std::move(splines));
}

} // namespace

void ReadTextures(SceneReadContext& context, const JsonAt& at)
{
    const JsonReader& reader = context.reader;
    const size_t count = reader.RequireArray(at);
    CheckDeclarationCount(context, at, count, "textures");
    std::vector<MemoryTexture*> all;
    for (size_t i = 0; i < count; ++i) {
        const JsonAt textureAt = reader.GetElement(at, i);
        reader.RequireObject(textureAt,
            {"id", "name", "type", "classId", "file", "faces", "uvwSource", "mapChannel", "filterType",
                "alphaSource", "playbackRate", "subTextures", "bitmap", "colors", "tiles"});
        std::string id = ReadNewId(reader, textureAt, context.textures);
        const KindName* chosen = &kTextureKinds[0];
        if (auto typeAt = reader.FindField(textureAt, "type"))
            chosen = &ReadKind(reader, *typeAt, kTextureKinds);
        // Fields that belong to other kinds are refused, as typing errors are.
        const bool bitmap = chosen->name == "bitmap";
        for (std::string_view field : {"file", "bitmap", "filterType", "alphaSource", "playbackRate"})
            if (!bitmap && textureAt.value.contains(field))
                reader.Fail(SceneLoadErrorKind::UnknownField, AppendPointer(textureAt.pointer, field),
                    "the field \"" + std::string(field) + "\" belongs to bitmap textures");
        if (chosen->name != "cubeMap" && textureAt.value.contains("faces"))
            reader.Fail(SceneLoadErrorKind::UnknownField, AppendPointer(textureAt.pointer, "faces"),
                "the field \"faces\" belongs to cube maps");
        const bool procedural = chosen->name == "checker" || chosen->name == "gradient";
        for (std::string_view field : {"colors", "tiles"})
            if ((!procedural || (field == "tiles" && chosen->name != "checker"))
                && textureAt.value.contains(field))
                reader.Fail(SceneLoadErrorKind::UnknownField, AppendPointer(textureAt.pointer, field),
                    "the field \"" + std::string(field) + "\" belongs to "
                        + (field == "tiles" ? "checker textures" : "checker and gradient textures"));
        std::string name = id;
        if (auto nameAt = reader.FindField(textureAt, "name"))
            name = reader.ReadString(*nameAt);
        MemoryTexture& texture
            = context.host.AddTexture(ReadClassId(reader, textureAt, *chosen), std::move(name));
        ReadTextureFields(context, textureAt, texture, *chosen);
        context.textures.emplace(std::move(id), &texture);
        all.push_back(&texture);
    }
    LinkSubSlots(context, at, all, context.textures, "subTextures", "texture", "textures",
        &MemoryTexture::subTextures);
}

void ReadMaterials(SceneReadContext& context, const JsonAt& at)
{
    const JsonReader& reader = context.reader;
    const size_t count = reader.RequireArray(at);
    CheckDeclarationCount(context, at, count, "materials");
    std::vector<MemoryMaterial*> all;
    for (size_t i = 0; i < count; ++i) {
        const JsonAt materialAt = reader.GetElement(at, i);
        reader.RequireObject(materialAt,
            {"id", "name", "type", "classId", "ambient", "diffuse", "specular", "shininess",
                "shininessStrength", "selfIllumination", "selfIllumColorOn", "selfIllumColor", "opacity",
                "twoSided", "wire", "wireSize", "shading", "faceted", "transparencyType", "maps",
                "subMaterials", "shader"});
        std::string id = ReadNewId(reader, materialAt, context.materials);
        const KindName* kind = &kMaterialKinds[0];
        if (auto typeAt = reader.FindField(materialAt, "type"))
            kind = &ReadKind(reader, *typeAt, kMaterialKinds);
        std::string name = id;
        if (auto nameAt = reader.FindField(materialAt, "name"))
            name = reader.ReadString(*nameAt);
        MemoryMaterial& material
            = context.host.AddMaterial(ReadClassId(reader, materialAt, *kind), std::move(name));
        ReadMaterialFields(context, materialAt, material);
        context.materials.emplace(std::move(id), &material);
        all.push_back(&material);
    }
    LinkSubSlots(context, at, all, context.materials, "subMaterials", "material", "materials",
        &MemoryMaterial::subMaterials);
}

void ReadObjects(SceneReadContext& context, const JsonAt& at)
{
    const JsonReader& reader = context.reader;
    const size_t count = reader.RequireArray(at);
    CheckDeclarationCount(context, at, count, "objects");
    std::vector<MemoryObject*> all;
    for (size_t i = 0; i < count; ++i) {
        const JsonAt objectAt = reader.GetElement(at, i);
        reader.RequireObject(objectAt, {"id", "type", "classId", "mesh", "splines", "base", "modifiers"});
        const KindName& kind = ReadKind(reader, reader.GetField(objectAt, "type"), kObjectKinds);
        const bool needsMesh = kind.superClass == kSuperClassGeometry;
        if (needsMesh)
            reader.RequireObject(objectAt, {"id", "type", "classId", "mesh"});
        else if (kind.superClass == kSuperClassShape)
            reader.RequireObject(objectAt, {"id", "type", "classId", "mesh", "splines"});
        else if (kind.superClass == kSuperClassDerivedObject)
            reader.RequireObject(objectAt, {"id", "type", "classId", "base", "modifiers"});
        else
            reader.RequireObject(objectAt, {"id", "type", "classId"});
        std::string id = ReadNewId(reader, objectAt, context.objects);
        MemoryObject& object = context.host.AddObject(kind.superClass, ReadClassId(reader, objectAt, kind));
        if (needsMesh)
            object.SetMesh(ReadMesh(context, reader.GetField(objectAt, "mesh")));
        else if (auto meshAt = reader.FindField(objectAt, "mesh"))
            object.SetMesh(ReadMesh(context, *meshAt));
        if (auto splinesAt = reader.FindField(objectAt, "splines"))
            object.SetShape(ReadSplines(reader, *splinesAt));
        else if (kind.superClass == kSuperClassShape)
            object.SetShape(MemoryShape {});
        context.objects.emplace(std::move(id), &object);
        all.push_back(&object);
    }
    const auto index = IndexDeclarations(all);
    std::vector<std::vector<int>> edges(count);
    std::vector<std::string> pointers(count);
    for (size_t i = 0; i < count; ++i) {
        const JsonAt objectAt = reader.GetElement(at, i);
        pointers[i] = objectAt.pointer;
        auto baseAt = reader.FindField(objectAt, "base");
        if (all[i]->GetSuperClassId() != kSuperClassDerivedObject)
            continue;
        if (!baseAt)
            reader.Fail(
                SceneLoadErrorKind::MissingField, objectAt.pointer, "the required field \"base\" is missing");
        const std::string baseId = reader.ReadString(*baseAt);
        const auto found = context.objects.find(baseId);
        if (found == context.objects.end())
            reader.Fail(SceneLoadErrorKind::UnknownReference, baseAt->pointer,
                "no object has the id \"" + baseId + "\"");
        int modifiers = 1;
        if (auto modifiersAt = reader.FindField(objectAt, "modifiers"))
            modifiers = static_cast<int>(reader.ReadInteger(*modifiersAt, 0, 1000));
        all[i]->SetDerivedFrom(found->second, modifiers);
        edges[i] = IndicesOf(std::vector<MemoryObject*> {found->second}, index);
    }
    CheckReferenceGraph(context, edges, pointers, "derived objects");
}

} // namespace vx
