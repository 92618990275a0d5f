#include "SceneFileTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vx {
namespace {

using vxtest::Bytes;
using vxtest::MakeScene;
using vxtest::SceneFiles;

const char* const kMesh
    = R"("objects": [{"id": "tri", "type": "mesh", "mesh": {"vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], )";

struct ErrorCase {
    const char* what;
    std::string document;
    SceneLoadErrorKind kind;
    std::string location; // JSON Pointer; unused when line > 0
    int line = 0;
    int column = 0;
};

void ExpectError(const SceneLoadResult& result, const ErrorCase& c, const std::string& file)
{
    SCOPED_TRACE(c.what);
    EXPECT_EQ(result.scene, nullptr);
    ASSERT_TRUE(result.error.has_value());
    const SceneLoadError& error = *result.error;
    EXPECT_EQ(error.kind, c.kind) << GetSceneLoadErrorKindName(error.kind) << ": " << error.GetText();
    EXPECT_EQ(error.file, file);
    EXPECT_FALSE(error.message.empty());
    if (c.line > 0) {
        EXPECT_EQ(error.line, c.line) << error.GetText();
        EXPECT_EQ(error.column, c.column) << error.GetText();
    } else {
        EXPECT_EQ(error.location, c.location) << error.GetText();
    }
}

TEST(SceneFileErrors, EveryFaultOfTheDocumentIsNamedWithItsPlace)
{
    using K = SceneLoadErrorKind;
    const std::string faces = std::string(kMesh);
    const ErrorCase cases[] = {
        // Text and syntax: line and column.
        {"malformed JSON", "{\"format\": \"varnex-scene\",\n  \"version\": 1,\n  \"nodes\": [}", K::Syntax,
            "", 3, 13},
        {"empty file", "", K::Syntax, "", 1, 1},
        {"bytes that are not UTF-8", "{\"format\": \"varnex-scene\",\n \"x\": \"caf\xC3\x28\"}",
            K::InvalidUtf8, "", 2, 11},
        {"an encoded surrogate", "{\"a\": \"\xED\xA0\x80\"}", K::InvalidUtf8, "", 1, 8},
        {"an escaped lone surrogate", R"({"a": "\uD800"})", K::Syntax, "", 1, 14},
        // Format.
        {"not an object", "[1, 2]", K::WrongFormat, ""},
        {"another format", R"({"format": "gltf", "version": 1})", K::WrongFormat, "/format"},
        {"another version", R"({"format": "varnex-scene", "version": 2})", K::WrongFormat, "/version"},
        // Fields.
        {"missing node name", MakeScene(R"("nodes": [{"object": "x"}])"), K::MissingField, "/nodes/0"},
        {"name of the wrong type", MakeScene(R"("nodes": [{"name": 5}])"), K::WrongType, "/nodes/0/name"},
        {"an integer given as a fraction", MakeScene(R"("nodes": [{"name": "N", "wireColor": [1.5, 0, 0]}])"),
            K::WrongType, "/nodes/0/wireColor/0"},
        {"a misspelt field", faces + R"("smoothingGroup": [1]}}])", K::UnknownField, ""},
        {"a field of another kind", MakeScene(R"("objects": [{"id": "c", "type": "camera", "mesh": {}}])"),
            K::UnknownField, "/objects/0/mesh"},
        {"a top-level typing error", MakeScene(R"("node": [])"), K::UnknownField, "/node"},
        {"colours on a bitmap texture", MakeScene(R"("textures": [{"id": "t", "colors": [[0, 0, 0]]}])"),
            K::UnknownField, "/textures/0/colors"},
        {"tiles on a gradient", MakeScene(R"("textures": [{"id": "t", "type": "gradient", "tiles": 2}])"),
            K::UnknownField, "/textures/0/tiles"},
        {"a gradient with two colours",
            MakeScene(R"("textures": [{"id": "t", "type": "gradient", "colors": [[0, 0, 0], [1, 1, 1]]}])"),
            K::InvalidValue, "/textures/0/colors"},
        {"a texture map channel below 1 (a lower bound is checked for every integer)",
            MakeScene(R"("textures": [{"id": "t", "mapChannel": 0}])"), K::InvalidValue,
            "/textures/0/mapChannel"},
        {"a checker with no tiles", MakeScene(R"("textures": [{"id": "t", "type": "checker", "tiles": 0}])"),
            K::InvalidValue, "/textures/0/tiles"},
        // Values.
        {"unknown unit", MakeScene(R"("unit": {"type": "parsecs"})"), K::InvalidValue, "/unit/type"},
        {"zero quaternion", MakeScene(R"("nodes": [{"name": "N", "transform": {"rotation": [0, 0, 0, 0]}}])"),
            K::InvalidValue, "/nodes/0/transform/rotation"},
        {"count that does not match the faces",
            MakeScene(faces + R"("faces": [[0, 1, 2]], "smoothingGroups": [1, 2]}}])"), K::InvalidValue,
            "/objects/0/mesh/smoothingGroups"},
        {"NUL inside a text", MakeScene(R"("nodes": [{"name": "a\u0000b"}])"), K::InvalidValue,
            "/nodes/0/name"},
        {"visibility above 1", MakeScene(R"("nodes": [{"name": "N", "visibility": 2}])"), K::InvalidValue,
            "/nodes/0/visibility"},
        // Identities and references.
        {"duplicate object id",
            MakeScene(R"("objects": [{"id": "a", "type": "camera"}, {"id": "a", "type": "light"}])"),
            K::DuplicateId, "/objects/1/id"},
        {"duplicate node id", MakeScene(R"("nodes": [{"name": "A", "id": "x"}, {"name": "B", "id": "x"}])"),
            K::DuplicateId, "/nodes/1/id"},
        {"unknown object", MakeScene(R"("nodes": [{"name": "N", "object": "nope"}])"), K::UnknownReference,
            "/nodes/0/object"},
        {"unknown material", MakeScene(R"("nodes": [{"name": "N", "material": "nope"}])"),
            K::UnknownReference, "/nodes/0/material"},
        {"unknown sub-material",
            MakeScene(R"("materials": [{"id": "m", "type": "multi", "subMaterials": [null, "x"]}])"),
            K::UnknownReference, "/materials/0/subMaterials/1"},
        {"unknown node", MakeScene(R"("nodes": [{"name": "N", "children": ["ghost"]}])"), K::UnknownReference,
            "/nodes/0/children/0"},
        {"unknown buffer", MakeScene(faces + R"("faces": {"buffer": 0, "count": 1, "type": "u32x3"}}}])"),
            K::UnknownReference, "/objects/0/mesh/faces/buffer"},
        // Hierarchy.
        {"a node placed twice",
            MakeScene(R"("nodes": [{"name": "A", "children": ["c"]}, {"name": "B", "children": ["c"]},
            {"name": "C", "id": "c"}])"),
            K::NotATree, "/nodes/1/children/0"},
        {"a nested node referenced",
            MakeScene(R"("nodes": [{"name": "A", "children": [{"name": "C", "id": "c"}]},
            {"name": "B", "children": ["c"]}])"),
            K::NotATree, "/nodes/1/children/0"},
        {"a node its own child", MakeScene(R"("nodes": [{"name": "A", "id": "a", "children": ["a"]}])"),
            K::NotATree, "/nodes/0/children/0"},
        {"a cycle", MakeScene(R"("nodes": [{"name": "A", "id": "a", "children": ["b"]},
            {"name": "B", "id": "b", "children": ["a"]}, {"name": "Free"}])"),
            K::NotATree, "/nodes/0"},
        {"a cycle through a nested node", MakeScene(R"("nodes": [{"name": "A", "id": "a", "children": [
            {"name": "Inner", "children": ["a"]}]}])"),
            K::NotATree, "/nodes/0"},
        {"materials in a cycle",
            MakeScene(R"("materials": [{"id": "a", "type": "multi", "subMaterials": ["b"]},
            {"id": "b", "type": "multi", "subMaterials": ["a"]}])"),
            K::ReferenceCycle, "/materials/0"},
        {"a texture that contains itself",
            MakeScene(R"("textures": [{"id": "t", "type": "other", "classId": [1, 2],
            "subTextures": ["t"]}])"),
            K::ReferenceCycle, "/textures/0"},
        {"derived objects in a cycle", MakeScene(R"("objects": [{"id": "a", "type": "derived", "base": "b"},
            {"id": "b", "type": "derived", "base": "a"}])"),
            K::ReferenceCycle, "/objects/0"},
        // Ranges.
        {"face index past the vertices", MakeScene(faces + R"("faces": [[0, 1, 2], [2, 1, 3]]}}])"),
            K::IndexOutOfRange, "/objects/0/mesh/faces/1/2"},
        {"negative face index", MakeScene(faces + R"("faces": [[0, -1, 2]]}}])"), K::IndexOutOfRange,
            "/objects/0/mesh/faces/0/1"},
        {"material id above 16 bits", MakeScene(faces + R"("faces": [[0, 1, 2]], "materialIds": [65536]}}])"),
            K::IndexOutOfRange, "/objects/0/mesh/materialIds/0"},
        {"map face index past the map vertices", MakeScene(faces + R"("faces": [[0, 1, 2]], "mapChannels": [
            {"channel": 1, "vertices": [[0, 0]], "faces": [[0, 0, 1]]}]}}])"),
            K::IndexOutOfRange, "/objects/0/mesh/mapChannels/0/faces/0/2"},
        {"map channel 100",
            MakeScene(faces + R"("mapChannels": [{"channel": 100, "vertices": [], "faces": []}]}}])"),
            K::InvalidValue, "/objects/0/mesh/mapChannels/0/channel"},
        // Numbers.
        {"an infinite coordinate", "{\"format\": \"varnex-scene\",\n \"x\": [0, 1e999, 0]}", K::NonFinite, "",
            2, 11},
        {"too large for a float",
            MakeScene(R"("nodes": [{"name": "N", "transform": {"position": [1e39, 0, 0]}}])"), K::NonFinite,
            "/nodes/0/transform/position/0"},
        {"an infinite unit multiplier", MakeScene(R"("unit": {"type": "meters", "multiplier": -1e400}})"),
            K::NonFinite, "", 1, 83},
    };
    for (const ErrorCase& c : cases) {
        SceneFiles files;
        const std::string document = c.document.rfind(kMesh, 0) == 0 ? MakeScene(c.document) : c.document;
        const SceneLoadResult result = files.Load(document);
        ErrorCase expected = c;
        if (c.document.rfind(kMesh, 0) == 0 && expected.location.empty())
            expected.location = "/objects/0/mesh/smoothingGroup";
        ExpectError(result, expected, files.Folder() + "/scene.json");
    }
}

TEST(SceneFileErrors, LimitsRefuseOversizedScenesBeforeAllocating)
{
    using K = SceneLoadErrorKind;
    struct LimitCase {
        ErrorCase error;
        SceneLoadLimits limits;
    };
    SceneLoadLimits fewItems;
    fewItems.maxArrayItems = 2;
    SceneLoadLimits fewBytes;
    fewBytes.maxSceneArrayBytes = 50; // four vertices fit, the second array does not
    SceneLoadLimits smallFile;
    smallFile.maxSceneFileBytes = 10;
    SceneLoadLimits fewNodes;
    fewNodes.maxDeclarations = 2;
    SceneLoadLimits shallowNodes;
    shallowNodes.maxNodeDepth = 2;
    SceneLoadLimits shallowJson;
    shallowJson.maxJsonDepth = 3;
    SceneLoadLimits shallowMaterials;
    shallowMaterials.maxMaterialDepth = 2;
    const LimitCase cases[] = {
        {{"array over the item limit", MakeScene(R"("objects": [{"id": "o", "type": "mesh", "mesh": {
            "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]]}}])"),
             K::SizeLimit, "/objects/0/mesh/vertices"},
            fewItems},
        {{"arrays over the memory budget", MakeScene(R"("objects": [{"id": "o", "type": "mesh", "mesh": {
            "vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0], [1, 1, 0]], "faces": [[0, 1, 2]]}}])"),
             K::SizeLimit, "/objects/0/mesh/faces"},
            fewBytes},
        {{"scene file too large", MakeScene(""), K::SizeLimit, ""}, smallFile},
        {{"too many nodes", MakeScene(R"("nodes": [{"name": "A"}, {"name": "B"}, {"name": "C"}])"),
             K::SizeLimit, "/nodes/2"},
            fewNodes},
        {{"nested too deep",
             MakeScene(
                 R"("nodes": [{"name": "A", "children": [{"name": "B", "children": [{"name": "C"}]}]}])"),
             K::TooDeep, "/nodes/0/children/0/children/0"},
            shallowNodes},
        {{"referenced too deep",
             MakeScene(R"("nodes": [{"name": "A", "children": ["b"]}, {"name": "B", "id": "b",
            "children": ["c"]}, {"name": "C", "id": "c"}])"),
             K::TooDeep, "/nodes/2"},
            shallowNodes},
        {{"JSON nested too deep", "{\"a\": [\n [[1]]]}", K::TooDeep, "", 2, 3}, shallowJson},
        {{"sub-materials nested too deep",
             MakeScene(R"("materials": [{"id": "a", "type": "multi", "subMaterials": ["b"]},
            {"id": "b", "type": "multi", "subMaterials": ["c"]}, {"id": "c"}])"),
             K::TooDeep, "/materials/0"},
            shallowMaterials},
    };
    for (const LimitCase& c : cases) {
        SceneFiles files;
        ExpectError(files.Load(c.error.document, c.limits), c.error, files.Folder() + "/scene.json");
    }
}

TEST(SceneFileErrors, BracketsInsideTextsAreNotNesting)
{
    SceneFiles files;
    SceneLoadLimits shallow;
    shallow.maxJsonDepth = 3;
    const SceneLoadResult result = files.Load(
        MakeScene(R"("nodes": [{"name": "[[[{{{ \"[[[ \\", "userProperties": "x = [[[["}])"), shallow);
    ASSERT_FALSE(result.error) << result.error->GetText();
    EXPECT_EQ(std::string(result.scene->GetRootNode()->GetChildNode(0)->GetName()), "[[[{{{ \"[[[ \\");
}

TEST(SceneFileErrors, SideFileRangesAreCheckedAgainstTheFile)
{
    using K = SceneLoadErrorKind;
    Bytes bin;
    bin.Add<float>({0, 0, 0, 1, 0, 0, 0, 1, 0});
    bin.Add<std::uint32_t>({0, 1, 2, 0, 1, 3});
    Bytes broken;
    broken.Add<float>({0, 0, 0, std::numeric_limits<float>::quiet_NaN(), 0, 0});
    const auto scene = [](const std::string& buffers, const std::string& vertices, const std::string& faces) {
        return MakeScene(R"("buffers": )" + buffers
            + R"(, "objects": [{"id": "o", "type": "mesh", "mesh": {"vertices": )" + vertices
            + (faces.empty() ? "" : R"(, "faces": )" + faces) + "}}]");
    };
    const std::string buffers = R"([{"uri": "mesh.bin"}])";
    const std::string vertices = R"({"buffer": 0, "count": 3, "type": "f32x3"})";
    const ErrorCase cases[] = {
        {"count past the end",
            scene(buffers, R"({"buffer": 0, "offset": 0, "count": 6, "type": "f32x3"})", ""), K::BufferRange,
            "/objects/0/mesh/vertices"},
        {"offset past the end",
            scene(buffers, R"({"buffer": 0, "offset": 61, "count": 0, "type": "f32x3"})", ""), K::BufferRange,
            "/objects/0/mesh/vertices"},
        {"offset that would wrap around",
            scene(
                buffers, R"({"buffer": 0, "offset": 18446744073709551615, "count": 1, "type": "f32x3"})", ""),
            K::BufferRange, "/objects/0/mesh/vertices"},
        {"count that would wrap around",
            scene(
                buffers, R"({"buffer": 0, "offset": 4, "count": 6148914691236517206, "type": "f32x3"})", ""),
            K::BufferRange, "/objects/0/mesh/vertices"},
        {"declared length differs", scene(R"([{"uri": "mesh.bin", "byteLength": 61}])", vertices, ""),
            K::BufferRange, "/buffers/0/byteLength"},
        {"missing side file", scene(R"([{"uri": "gone.bin"}])", vertices, ""), K::FileNotReadable,
            "/buffers/0"},
        // Opening a FIFO would wait for a writer for ever.
        {"side file that is a FIFO", scene(R"([{"uri": "pipe.bin"}])", vertices, ""), K::FileNotReadable,
            "/buffers/0"},
        {"wrong item type", scene(buffers, R"({"buffer": 0, "count": 3, "type": "f64x3"})", ""),
            K::InvalidValue, "/objects/0/mesh/vertices/type"},
        {"face index past the vertices",
            scene(buffers, vertices, R"({"buffer": 0, "offset": 36, "count": 2, "type": "u32x3"})"),
            K::IndexOutOfRange, "/objects/0/mesh/faces"},
        {"not a number in the file",
            scene(R"([{"uri": "broken.bin"}])", R"({"buffer": 0, "count": 2, "type": "f32x3"})", ""),
            K::NonFinite, "/objects/0/mesh/vertices"},
    };
    for (const ErrorCase& c : cases) {
        SceneFiles files;
        files.Write("mesh.bin", bin.Data());
        files.Write("broken.bin", broken.Data());
        mkfifo((files.Folder() + "/pipe.bin").c_str(), 0600);
        ExpectError(files.Load(c.document), c, files.Folder() + "/scene.json");
    }

    // Side-file arrays over the memory budget are refused from their declared sizes, before any is
    // read: the broken vertices (a NaN) are never reached. 12 + 24 bytes (faces weighed first), with
    // room for 30.
    SceneFiles files;
    files.Write("broken.bin", broken.Data() + std::string(12, '\0'));
    SceneLoadLimits fewBytes;
    fewBytes.maxSceneArrayBytes = 30;
    const ErrorCase declared {"declared over the memory budget",
        scene(R"([{"uri": "broken.bin"}])", R"({"buffer": 0, "count": 2, "type": "f32x3"})",
            R"({"buffer": 0, "offset": 24, "count": 1, "type": "u32x3"})"),
        K::SizeLimit, "/objects/0/mesh/vertices"};
    ExpectError(files.Load(declared.document, fewBytes), declared, files.Folder() + "/scene.json");
}

TEST(SceneFileErrors, ErrorTextsNameTheFileAndThePlace)
{
    SceneFiles files;
    const SceneLoadResult syntax = files.Load("{\n  \"format\": ,\n}");
    ASSERT_TRUE(syntax.error);
    EXPECT_EQ(syntax.error->GetText().rfind(files.Folder() + "/scene.json:2:13: ", 0), 0u)
        << syntax.error->GetText();

    const SceneLoadResult field = files.Load(MakeScene(R"("nodes": [{"name": "N", "object": "box"}])"));
    ASSERT_TRUE(field.error);
    EXPECT_EQ(field.error->GetText(),
        files.Folder() + "/scene.json: at /nodes/0/object: no object has the id \"box\"");

    ASSERT_EQ(mkfifo((files.Folder() + "/pipe.json").c_str(), 0600), 0);
    const SceneLoadResult fifo = LoadSceneFile(files.Folder() + "/pipe.json");
    ASSERT_TRUE(fifo.error);
    EXPECT_EQ(fifo.error->GetText(),
        files.Folder() + "/pipe.json: at /: cannot read the scene file: it is not a regular file");

    const SceneLoadResult missing = LoadSceneFile(files.Folder() + "/none.json");
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->kind, SceneLoadErrorKind::FileNotReadable);
    EXPECT_EQ(missing.scene, nullptr);
}

} // namespace
} // namespace vx
