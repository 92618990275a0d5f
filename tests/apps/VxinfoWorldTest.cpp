// The design in the root's frame: CollectWorldTriangles on the hand-made nested design, whose
// placements are all known (see WriteNestedDesign), and vxinfo mesh writing it.

#include "VxinfoCheck.h"
#include "VxinfoHouse.h"
#include "VxinfoTinyDesign.h"

#include "vxinfo/WorldMesh.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace vxtest {
namespace {

using vxinfo::Vec3;

std::string NestedDesignFile(const TempDir& dir)
{
    const std::string path = dir.File("nested.vx");
    EXPECT_EQ(vxtest::WriteNestedDesign(path), "");
    return path;
}

struct Box {
    Vec3 lo {1e30, 1e30, 1e30}, hi {-1e30, -1e30, -1e30};
};

Vec3 FaceNormal(const vxinfo::WorldTriangle& t)
{
    const Vec3 &a = t.corners[0], &b = t.corners[1], &c = t.corners[2];
    const Vec3 u {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const Vec3 n {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    return {n[0] / length, n[1] / length, n[2] / length};
}

TEST(VxinfoWorldMesh, PlacesEachPathByInstancesThenGeometryThenBufferPlacement)
{
    TempDir dir;
    OpenedDesign design(NestedDesignFile(dir));
    ASSERT_EQ(design.openFailure, "");
    const std::vector<vxinfo::WorldTriangle> triangles
        = vxinfo::CollectWorldTriangles(design.db, design.content);
    ASSERT_EQ(triangles.size(), 36u);
    std::vector<std::string> order;
    std::map<std::string, Box> boxes;
    for (const vxinfo::WorldTriangle& t : triangles) {
        if (order.empty() || order.back() != t.path)
            order.push_back(t.path);
        EXPECT_EQ(t.material, 0);
        EXPECT_EQ(t.geometry, t.path == "Left" ? 101 : 100) << t.path;
        // The buffer's outward normals turn with the placements: they agree with the placed face.
        const Vec3 face = FaceNormal(t);
        for (const Vec3& n : t.normals)
            EXPECT_NEAR(n[0] * face[0] + n[1] * face[1] + n[2] * face[2], 1.0, 1e-9) << t.path;
        Box& box = boxes[t.path];
        for (const Vec3& p : t.corners)
            for (int k = 0; k < 3; ++k) {
                box.lo[k] = std::min(box.lo[k], p[k]);
                box.hi[k] = std::max(box.hi[k], p[k]);
            }
    }
    EXPECT_EQ(order, (std::vector<std::string> {"", "Left", "Left/#21"}));
    const std::map<std::string, Box> expected {
        {"", {{0, 0, 5}, {1, 2, 8}}},
        // (x, y, z) of A lands at (10 - y, x, z); A's buffer sits at z 1-2, stretched to 2-4.
        {"Left", {{9, 0, 2}, {10, 1, 4}}},
        // B at x 1-2 in A, then A's placement.
        {"Left/#21", {{9, 1, 0}, {10, 2, 1}}},
    };
    for (const auto& [path, box] : expected)
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(boxes[path].lo[k], box.lo[k], 1e-6) << path << ", coordinate " << k;
            EXPECT_NEAR(boxes[path].hi[k], box.hi[k], 1e-6) << path << ", coordinate " << k;
        }
}

struct ObjFile {
    std::vector<std::string> comments, groups, faces;
    std::vector<Vec3> positions, normals;
    std::string order; // one letter per line: g, v, n (vn) or f
};

ObjFile ReadObj(const std::string& path)
{
    ObjFile obj;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        Vec3 v {};
        if (tag == "#")
            obj.comments.push_back(line);
        else if (tag == "g")
            obj.groups.push_back(line.substr(2));
        else if (tag == "f")
            obj.faces.push_back(line.substr(2));
        else if ((tag == "v" || tag == "vn") && (words >> v[0] >> v[1] >> v[2]))
            (tag == "v" ? obj.positions : obj.normals).push_back(v);
        else
            obj.comments.push_back("unexpected: " + line);
        obj.order += tag == "vn" ? 'n' : tag[0];
    }
    return obj;
}

TEST(VxinfoMesh, WritesAGroupPerPathWithItsVerticesNormalsAndFaces)
{
    TempDir dir;
    const std::string source = NestedDesignFile(dir);
    const ProcessResult run = RunProgram(VxinfoPath(), {"mesh", source, dir.File("nested.obj")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("36 triangles in 3 groups"), std::string::npos) << run.out;
    const ObjFile obj = ReadObj(dir.File("nested.obj"));
    ASSERT_EQ(obj.comments.size(), 1u) << testing::PrintToString(obj.comments); // the header alone
    EXPECT_EQ(obj.groups, (std::vector<std::string> {"root", "Left", "Left/#21"}));
    const std::string group = "g" + std::string(36, 'v') + std::string(36, 'n') + std::string(12, 'f');
    EXPECT_EQ(obj.order, "#" + group + group + group);
    ASSERT_EQ(obj.faces.size(), 36u);
    for (std::size_t f = 0; f < obj.faces.size(); ++f) {
        const std::size_t a = 3 * f + 1;
        EXPECT_EQ(obj.faces[f],
            std::to_string(a) + "//" + std::to_string(a) + " " + std::to_string(a + 1) + "//"
                + std::to_string(a + 1) + " " + std::to_string(a + 2) + "//" + std::to_string(a + 2));
    }
    OpenedDesign design(source);
    const std::vector<vxinfo::WorldTriangle> triangles
        = vxinfo::CollectWorldTriangles(design.db, design.content);
    ASSERT_EQ(obj.positions.size(), 3 * triangles.size());
    ASSERT_EQ(obj.normals.size(), 3 * triangles.size());
    for (std::size_t t = 0; t < triangles.size(); ++t)
        for (std::size_t c = 0; c < 3; ++c)
            for (std::size_t k = 0; k < 3; ++k) {
                EXPECT_NEAR(obj.positions[3 * t + c][k], triangles[t].corners[c][k], 1e-6);
                EXPECT_NEAR(obj.normals[3 * t + c][k], triangles[t].normals[c][k], 1e-5);
            }

    EXPECT_EQ(RunProgram(VxinfoPath(), {"mesh", source, dir.File("missing/nested.obj")}).exitCode, 3);
    EXPECT_EQ(RunProgram(VxinfoPath(), {"mesh", dir.File("absent.vx"), dir.File("x.obj")}).exitCode, 3);
}

// Until the exporter places its content by the same reading, only the structure of the house's
// mesh is checked here.
TEST(VxinfoMesh, TheHouseGivesEveryPlacedTriangleInGroupsNamedByInstance)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    TempDir dir;
    const ProcessResult run = RunProgram(VxinfoPath(), {"mesh", house.perObject, dir.File("house.obj")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const ObjFile obj = ReadObj(dir.File("house.obj"));
    EXPECT_EQ(obj.positions.size(), 3 * obj.faces.size());
    EXPECT_EQ(obj.normals.size(), 3 * obj.faces.size());
    const ProcessResult summary = RunProgram(VxinfoPath(), {"summary", "--json", house.perObject});
    const auto stored = nlohmann::json::parse(summary.out, nullptr, false);
    ASSERT_FALSE(stored.is_discarded());
    // Every geometry of the sound house is reachable, so each is drawn at least once.
    EXPECT_GE(static_cast<int64_t>(obj.faces.size()), stored["triangles"].get<int64_t>());
    bool table = false;
    for (const std::string& g : obj.groups)
        table = table || g.find("Kitchen_Table") != std::string::npos;
    EXPECT_TRUE(table);
}

} // namespace
} // namespace vxtest
