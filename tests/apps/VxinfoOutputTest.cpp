// vxinfo summary, tree, gltf and preview on the exported house in both modes: the counts agree
// with the rows, the tree with the instances, the glTF binary parses back with its ranges inside
// its buffer (and its nodes place the meshes as the world mesh does), and the preview shows the design.

#include "VxinfoCheck.h"
#include "VxinfoHouse.h"
#include "VxinfoTinyDesign.h"

#include "memoryhost/DecodeImage.h"
#include "vxinfo/CommandLine.h"
#include "vxinfo/GltfWriter.h"
#include "vxinfo/SummaryReport.h"
#include "vxinfo/TreeReport.h"
#include "vxinfo/WorldMesh.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace vxtest {
namespace {

using nlohmann::json;

json ParseJson(const std::string& text)
{
    return json::parse(text, nullptr, false);
}

int64_t Count(const std::string& path, const std::string& sql)
{
    return ExportedDatabase(path).Integer(sql);
}

TEST(VxinfoSummary, CountsAgreeWithTheRowsAndTheRootRecordIsShown)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    for (const std::string& path : {house.single, house.perObject}) {
        SCOPED_TRACE(path);
        const ProcessResult run = RunProgram(VxinfoPath(), {"summary", "--json", path});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const json s = ParseJson(run.out);
        ASSERT_FALSE(s.is_discarded()) << run.out;
        EXPECT_EQ(s["objects"], Count(path, "SELECT count(*) FROM CompositeObjects"));
        EXPECT_EQ(s["instances"], Count(path, "SELECT count(*) FROM ObjectInstances"));
        EXPECT_EQ(s["geometries"], Count(path, "SELECT count(*) FROM Geometries"));
        EXPECT_EQ(s["bufferFiles"], Count(path, "SELECT count(*) FROM Files WHERE geometry_luid <> 0"));
        EXPECT_EQ(s["textures"], 1);
        EXPECT_EQ(s["schema"], "61e39754-8f16-46e1-aab8-893156aafd12");
        EXPECT_EQ(s["failedObjects"], json::array());
        EXPECT_GT(s["triangles"].get<int64_t>(), 0);
        const int64_t root = Count(path, "SELECT object_luid FROM Roots");
        EXPECT_EQ(s["root"]["object"], root);
        EXPECT_NEAR(s["root"]["boxMax"][0].get<double>(),
            Count(path,
                "SELECT round(aabb_max_x * 1000) FROM CompositeObjects WHERE luid = " + std::to_string(root))
                / 1000.0,
            1e-6);
        EXPECT_TRUE(s["root"].contains("camera"));
    }
    const ProcessResult text = RunProgram(VxinfoPath(), {"summary", house.single});
    EXPECT_NE(text.out.find("Composite objects: "), std::string::npos) << text.out;
}

TEST(VxinfoSummary, ReadsTheFailedObjectsOfTheLog)
{
    EXPECT_EQ(vxinfo::ReadFailedObjects("Start\r\nFailed objects:\r\nBox01\r\n- no name -\r\n"),
        (std::vector<std::string> {"Box01", "- no name -"}));
    EXPECT_TRUE(vxinfo::ReadFailedObjects("Start\r\nDone\r\n").empty());
}

int CountNodes(const json& node)
{
    int n = 1;
    for (const json& child : node["children"])
        n += CountNodes(child);
    return n;
}

TEST(VxinfoTree, ShowsEveryInstanceWithItsPropertiesAndHonoursTheDepthLimit)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    const std::string& path = house.perObject;
    const ProcessResult run = RunProgram(VxinfoPath(), {"tree", "--json", path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json tree = ParseJson(run.out);
    ASSERT_FALSE(tree.is_discarded());
    // In the per-object house every instance hangs from the root record directly or below it.
    EXPECT_EQ(CountNodes(tree) - 1, Count(path, "SELECT count(*) FROM ObjectInstances"));
    bool seats = false;
    std::function<void(const json&)> find = [&](const json& node) {
        for (const json& p : node.value("properties", json::array()))
            seats = seats || (p["name"] == "Seats" && p["value"] == "4");
        for (const json& child : node["children"])
            find(child);
    };
    find(tree);
    EXPECT_TRUE(seats) << run.out;

    const ProcessResult shallow = RunProgram(VxinfoPath(), {"tree", "--depth", "0", "--json", path});
    const json cut = ParseJson(shallow.out);
    EXPECT_TRUE(cut["children"].empty());
    EXPECT_TRUE(cut.value("cut", false));
    const ProcessResult text = RunProgram(VxinfoPath(), {"tree", path});
    EXPECT_NE(text.out.find("Kitchen_Table [instance"), std::string::npos) << text.out;
}

// The placed content of each house, read by the inspector's rule for placements and buffers, fills
// exactly the root box that the exporter stored: the reading agrees with the writer.
TEST(VxinfoGeometry, PlacedContentFillsTheStoredRootBox)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    for (const std::string& path : {house.single, house.perObject}) {
        SCOPED_TRACE(path);
        OpenedDesign design(path);
        vxinfo::Vec3 lo {1e30, 1e30, 1e30}, hi {-1e30, -1e30, -1e30};
        for (const vxinfo::WorldTriangle& t : vxinfo::CollectWorldTriangles(design.db, design.content))
            for (const vxinfo::Vec3& p : t.corners)
                for (int k = 0; k < 3; ++k) {
                    lo[k] = std::min(lo[k], p[k]);
                    hi[k] = std::max(hi[k], p[k]);
                }
        const vxinfo::ObjectRow* root = nullptr;
        for (const vxinfo::ObjectRow& o : design.content.objects)
            if (o.luid == design.content.roots.at(0).object)
                root = &o;
        ASSERT_NE(root, nullptr);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(lo[k], root->boxMin[k], 1e-3) << k;
            EXPECT_NEAR(hi[k], root->boxMax[k], 1e-3) << k;
        }
    }
}

uint32_t ReadU32(const std::string& bytes, std::size_t at)
{
    uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

// The structural rules of a GLB file that a viewer relies on.
void ExpectSoundGlb(const std::string& glb, json& doc, std::string& bin)
{
    ASSERT_GE(glb.size(), 20u);
    EXPECT_EQ(glb.substr(0, 4), "glTF");
    EXPECT_EQ(ReadU32(glb, 4), 2u);
    EXPECT_EQ(ReadU32(glb, 8), glb.size());
    const uint32_t jsonLength = ReadU32(glb, 12);
    EXPECT_EQ(glb.substr(16, 4), "JSON");
    ASSERT_LE(20u + jsonLength + 8, glb.size());
    EXPECT_EQ(jsonLength % 4, 0u);
    doc = ParseJson(glb.substr(20, jsonLength));
    ASSERT_FALSE(doc.is_discarded());
    const std::size_t binAt = 20 + jsonLength;
    const uint32_t binLength = ReadU32(glb, binAt);
    EXPECT_EQ(glb.substr(binAt + 4, 4), std::string("BIN\0", 4));
    ASSERT_EQ(binAt + 8 + binLength, glb.size());
    bin = glb.substr(binAt + 8, binLength);
    EXPECT_EQ(doc["asset"]["version"], "2.0");
    EXPECT_EQ(doc["buffers"][0]["byteLength"], binLength);
    for (const json& view : doc["bufferViews"])
        EXPECT_LE(view["byteOffset"].get<std::size_t>() + view["byteLength"].get<std::size_t>(), binLength);
    const std::map<std::string, std::size_t> width {{"SCALAR", 1}, {"VEC2", 2}, {"VEC3", 3}};
    for (const json& accessor : doc["accessors"]) {
        const json& view = doc["bufferViews"][accessor["bufferView"].get<std::size_t>()];
        EXPECT_LE(accessor["count"].get<std::size_t>() * 4 * width.at(accessor["type"]),
            view["byteLength"].get<std::size_t>());
    }
    for (const json& mesh : doc["meshes"])
        for (const json& primitive : mesh["primitives"]) {
            const json& positions = doc["accessors"][primitive["attributes"]["POSITION"].get<std::size_t>()];
            const json& indices = doc["accessors"][primitive["indices"].get<std::size_t>()];
            const json& view = doc["bufferViews"][indices["bufferView"].get<std::size_t>()];
            EXPECT_EQ(indices["componentType"], 5125);
            for (std::size_t i = 0; i < indices["count"].get<std::size_t>(); ++i)
                ASSERT_LT(ReadU32(bin, view["byteOffset"].get<std::size_t>() + 4 * i), positions["count"]);
        }
}

TEST(VxinfoGltf, TheHouseBecomesASoundBinaryWithSharedMeshesColoursAndItsTexture)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    TempDir dir;
    for (const std::string& path : {house.single, house.perObject}) {
        SCOPED_TRACE(path);
        const ProcessResult run = RunProgram(VxinfoPath(), {"gltf", path, dir.File("house.glb")});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        json doc;
        std::string bin;
        ExpectSoundGlb(ReadTextFile(dir.File("house.glb")), doc, bin);
        EXPECT_EQ(doc["meshes"].size(), Count(path, "SELECT count(*) FROM Geometries"));
        ASSERT_EQ(doc["images"].size(), 1u);
        EXPECT_EQ(doc["images"][0]["mimeType"], "image/png");
        bool oak = false;
        for (const json& m : doc["materials"]) {
            const json& c = m["pbrMetallicRoughness"]["baseColorFactor"];
            oak = oak
                || (std::abs(c[0].get<double>() - 0.55) < 1e-6 && std::abs(c[2].get<double>() - 0.2) < 1e-6);
        }
        EXPECT_TRUE(oak);
        if (path == house.perObject) {
            // The wall object is placed three times: three nodes share its one mesh.
            std::map<int64_t, int> uses;
            for (const json& node : doc["nodes"])
                if (node.contains("mesh"))
                    ++uses[node["mesh"].get<int64_t>()];
            int most = 0;
            for (const auto& [mesh, n] : uses)
                most = std::max(most, n);
            EXPECT_GE(most, 3);
        }
    }
}

// The glTF nodes (the writer's own walk) put every mesh vertex where the world mesh puts it, seen
// through the root node's change to glTF's axes: (x, y, z) -> (x, z, -y).
TEST(VxinfoGltf, NodeMatricesPlaceTheMeshesWhereTheWorldMeshDoes)
{
    TempDir dir;
    ASSERT_EQ(WriteNestedDesign(dir.File("nested.vx")), "");
    OpenedDesign design(dir.File("nested.vx"));
    json doc;
    std::string bin;
    ExpectSoundGlb(vxinfo::BuildGlb(design.db, design.content), doc, bin);
    using Point = std::array<long, 3>; // in micrometres
    const auto rounded = [](const vxinfo::Vec3& p) {
        return Point {std::lround(p[0] * 1e6), std::lround(p[1] * 1e6), std::lround(p[2] * 1e6)};
    };
    std::set<Point> fromNodes;
    std::function<void(std::size_t, const vxinfo::Affine&)> walk
        = [&](std::size_t n, const vxinfo::Affine& above) {
              const json& node = doc["nodes"][n];
              vxinfo::Affine local;
              if (node.contains("matrix"))
                  local.m = node["matrix"].get<std::array<double, 16>>();
              const vxinfo::Affine world = vxinfo::Multiply(above, local);
              if (node.contains("mesh"))
                  for (const json& primitive : doc["meshes"][node["mesh"].get<std::size_t>()]["primitives"]) {
                      const json& accessor
                          = doc["accessors"][primitive["attributes"]["POSITION"].get<std::size_t>()];
                      const json& view = doc["bufferViews"][accessor["bufferView"].get<std::size_t>()];
                      for (std::size_t v = 0; v < accessor["count"].get<std::size_t>(); ++v) {
                          float p[3];
                          std::memcpy(p, bin.data() + view["byteOffset"].get<std::size_t>() + 12 * v, 12);
                          fromNodes.insert(rounded(world.Apply({p[0], p[1], p[2]})));
                      }
                  }
              for (const json& child : node.value("children", json::array()))
                  walk(child.get<std::size_t>(), world);
          };
    walk(0, vxinfo::Affine {});
    std::set<Point> fromWorld;
    for (const vxinfo::WorldTriangle& t : vxinfo::CollectWorldTriangles(design.db, design.content))
        for (const vxinfo::Vec3& p : t.corners)
            fromWorld.insert(rounded({p[0], p[2], -p[1]}));
    EXPECT_EQ(fromWorld.size(), 3 * 8u); // three placed cubes
    EXPECT_EQ(fromNodes, fromWorld);
}

TEST(VxinfoPreview, ThePictureShowsTheDesignOnTheBackground)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    TempDir dir;
    for (const std::string& path : {house.single, house.perObject}) {
        SCOPED_TRACE(path);
        const ProcessResult run
            = RunProgram(VxinfoPath(), {"preview", path, dir.File("house.png"), "--size", "320x240"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::optional<vx::MemoryImage> image = vx::DecodeImageFile(dir.File("house.png"));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, 320);
        EXPECT_EQ(image->height, 240);
        std::size_t drawn = 0;
        for (const vx::HostPixel64& p : image->pixels)
            drawn += p.r != 65535 || p.g != 65535 || p.b != 65535;
        EXPECT_GT(drawn, image->pixels.size() / 100);
        EXPECT_LT(drawn, image->pixels.size());
    }
}

TEST(VxinfoCommandLine, EachCommandHasHelpAndFaultsGiveUsage)
{
    for (const char* command : {"summary", "tree", "check", "gltf", "mesh", "preview"}) {
        const ProcessResult help = RunProgram(VxinfoPath(), {command, "--help"});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_NE(help.out.find(std::string("vxinfo ") + command), std::string::npos) << help.out;
    }
    const struct {
        std::vector<std::string> args;
        const char* message;
    } faults[] = {
        {{}, "a sub-command is needed"},
        {{"show", "x.vx"}, "unknown sub-command 'show'"},
        {{"gltf", "x.vx"}, "expected 2 files, got 1"},
        {{"mesh", "x.vx"}, "expected 2 files, got 1"},
        {{"preview", "x.vx", "y.png", "--view", "side"}, "--view needs iso, front or top, not 'side'"},
        {{"mesh", "x.vx", "y.obj", "--view", "top"}, "--view needs a value and belongs to preview"},
        {{"tree", "--depth", "-1", "x.vx"}, "--depth needs a whole number"},
        {{"preview", "x.vx", "y.png", "--size", "10x10"}, "--size needs WIDTHxHEIGHT"},
        {{"summary", "--verbose", "x.vx"}, "unknown option --verbose"},
        {{"--depth", "3", "tree", "x.vx"}, "--depth needs a value and belongs to tree"},
        {{"tree", "x.vx", "--depth"}, "--depth needs a value and belongs to tree"},
    };
    for (const auto& fault : faults) {
        const ProcessResult run = RunProgram(VxinfoPath(), fault.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(fault.message), std::string::npos) << run.err;
    }
}

TEST(VxinfoCommandLine, ReadsOptionsAnywhereAndCommandNamesAsOperands)
{
    const vxinfo::CommandLine tree = vxinfo::ParseCommandLine({"--json", "tree", "x.vx", "--depth", "2"});
    EXPECT_EQ(tree.error, "");
    EXPECT_EQ(tree.command, vxinfo::Command::Tree);
    EXPECT_TRUE(tree.json);
    EXPECT_EQ(tree.depth, 2);
    EXPECT_EQ(tree.files, std::vector<std::string>({"x.vx"}));

    const vxinfo::CommandLine preview = vxinfo::ParseCommandLine(
        {"preview", "--view", "top", "-", "--size", "64x48", "mesh", "--view", "front"});
    EXPECT_EQ(preview.error, "");
    EXPECT_EQ(preview.view, vxinfo::PreviewView::Front);
    EXPECT_EQ(preview.width, 64);
    EXPECT_EQ(preview.height, 48);
    EXPECT_EQ(preview.files, std::vector<std::string>({"-", "mesh"}));

    // --help wins over every fault, a value missing at the end included.
    const vxinfo::CommandLine help = vxinfo::ParseCommandLine({"tree", "-h", "--depth"});
    EXPECT_TRUE(help.help);
    EXPECT_EQ(help.command, vxinfo::Command::Tree);
}

} // namespace
} // namespace vxtest
