// Designs read back in space: each scene is exported in both modes, its database is read by the
// documented frame rule (the inspector's reader, which knows nothing of the exporter), and every
// triangle must stand where the host shows it; every stored box must bound what it boxes, and the
// root camera must follow the root box.

#include "EndToEndSupport.h"
#include "HostWorldTriangles.h"
#include "VxexportProcess.h"
#include "VxinfoCheck.h"
#include "VxinfoHouse.h"

#include "scenefile/SceneFileLoader.h"
#include "support/TempDir.h"
#include "vxinfo/DesignTransform.h"
#include "vxinfo/WorldMesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace vxtest {
namespace {

constexpr double kTolerance = 1e-4; // metres

// A box of 1 x 2 x 5 units with its faces wound outwards, so that no axis exchange, mirror or
// turn can hide, and a triangle.
constexpr const char* kObjects = R"("objects": [
  {"id": "box", "type": "mesh", "mesh": {
    "vertices": [[0,0,0],[1,0,0],[1,2,0],[0,2,0],[0,0,5],[1,0,5],[1,2,5],[0,2,5]],
    "faces": [[0,2,1],[0,3,2],[4,5,6],[4,6,7],[0,1,5],[0,5,4],[3,7,6],[3,6,2],[0,4,7],[0,7,3],[1,2,6],[1,6,5]]}},
  {"id": "beam", "type": "mesh", "mesh": {
    "vertices": [[0,0,0],[6,0,0],[6,1,0],[0,1,0],[0,0,0.5],[6,0,0.5],[6,1,0.5],[0,1,0.5]],
    "faces": [[0,2,1],[0,3,2],[4,5,6],[4,6,7],[0,1,5],[0,5,4],[3,7,6],[3,6,2],[0,4,7],[0,7,3],[1,2,6],[1,6,5]]}},
  {"id": "tri", "type": "mesh", "mesh": {"vertices": [[0,0,0],[1,0,0],[0,1,0.5]], "faces": [[0,1,2]]}},
  {"id": "grp", "type": "groupHead"}
 ])";

struct SceneCase {
    const char* name;
    const char* unit;
    const char* nodes;
};

// A group of a box and a triangle, at a placement of its own.
std::string Group(const std::string& name, const std::string& transform, double boxX = 1)
{
    std::ostringstream text;
    text << R"({"name": ")" << name << R"(", "object": "grp", "transform": )" << transform
         << R"(, "children": [{"name": ")" << name << R"(Box", "object": "box", "transform": {"position": [)"
         << boxX << R"(,0,0]}}, {"name": ")" << name
         << R"(Tri", "object": "tri", "transform": {"position": [0,1,0], "eulerDegrees": [0,0,20]}}]})";
    return text.str();
}

const std::string kGroupCopies = Group("G1", R"({"position": [0,0,0]})") + ","
    + Group("G2", R"({"position": [10,0,0]})") + ","
    + Group("G3", R"({"position": [0,10,0], "eulerDegrees": [0,0,90]})") + ","
    + Group("G4", R"({"position": [10,10,0]})", 1.4);

const std::string kPartsInSharedGroups = R"(
  {"name": "P1", "object": "grp", "transform": {"position": [2,0,0]}, "children": [
    {"name": "P1Box", "object": "box"},
    {"name": "P1Valve", "object": "tri", "transform": {"position": [0,0,6], "eulerDegrees": [0,0,45]},
     "userProperties": "VNXPart Valve"}]},
  {"name": "P2", "object": "grp", "transform": {"position": [-4,3,0], "eulerDegrees": [0,0,90]}, "children": [
    {"name": "P2Box", "object": "box"},
    {"name": "P2Valve", "object": "tri", "transform": {"position": [0,0,6], "eulerDegrees": [0,0,45]},
     "userProperties": "VNXPart Valve"}]})";

const SceneCase kCases[] = {
    {"translated", "meters", R"(
  {"name": "Slab", "object": "box", "transform": {"position": [0,0,-1], "scale": [20,20,0.2]}},
  {"name": "Tower", "object": "box", "transform": {"position": [5,10,0]}})"},
    // Stored angles are rounded to a tenth of a degree: the turns are whole degrees, the last one
    // the rows of azimuth 30, elevation 20 and twist 50 (stored negated).
    {"turned about each axis", "meters", R"(
  {"name": "AboutX", "object": "box", "transform": {"position": [1,2,3], "eulerDegrees": [30,0,0]}},
  {"name": "AboutY", "object": "box", "transform": {"position": [-4,0,1], "eulerDegrees": [0,40,0]}},
  {"name": "AboutZ", "object": "box", "transform": {"position": [0,6,0], "eulerDegrees": [0,0,50]}},
  {"name": "AllThree", "object": "box", "transform": [[0.687671714,0.719846310,-0.094492871],
   [-0.553490793,0.604022774,0.573414711], [0.469846310,-0.342020143,0.813797681], [3,-3,2]]})"},
    {"non-uniform scale", "meters", R"(
  {"name": "Stretched", "object": "box", "transform": {"position": [1,1,0], "eulerDegrees": [0,0,30],
   "scale": [2,3,0.5]}})"},
    {"mirrored", "meters", R"(
  {"name": "MirrorX", "object": "box", "transform": {"position": [2,0,0], "scale": [-1,1,1]}},
  {"name": "MirrorZ", "object": "box", "transform": {"position": [0,4,1], "eulerDegrees": [0,0,30],
   "scale": [1,1,-2]}})"},
    {"object offset with rotation", "meters", R"(
  {"name": "Offset", "object": "box", "transform": {"position": [3,0,0], "eulerDegrees": [0,0,45]},
   "objectOffset": {"position": [1,0,0], "eulerDegrees": [0,0,30]}})"},
    {"nested groups", "meters", R"(
  {"name": "Outer", "object": "grp", "transform": {"position": [10,0,0], "eulerDegrees": [0,0,90]}, "children": [
    {"name": "OuterBox", "object": "box", "transform": {"position": [1,0,0]}},
    {"name": "Inner", "object": "grp", "transform": {"position": [0,3,0], "eulerDegrees": [30,0,0]}, "children": [
      {"name": "InnerBox", "object": "box", "transform": {"position": [0,0,1]}}]}]})"},
    {"three equal group copies and a near copy", "meters", kGroupCopies.c_str()},
    {"template with children placed twice", "meters", R"(
  {"name": "T", "object": "box", "transform": {"position": [2,2,0], "eulerDegrees": [0,0,30]}, "children": [
    {"name": "TChild", "object": "tri", "transform": {"position": [2,2,5]}}]},
  {"name": "C1", "transform": {"position": [10,0,0]}, "userProperties": "ZRInstance T"},
  {"name": "C2", "transform": {"position": [0,10,0], "eulerDegrees": [0,0,90]}, "userProperties": "ZRInstance T"})"},
    {"part inside a shared group", "meters", kPartsInSharedGroups.c_str()},
    // Equal groups whose children become different things: copies of different templates, a
    // design-only node and a plain one. None of them may share.
    {"groups differing in what a child becomes", "meters", R"(
  {"name": "T", "object": "box", "transform": {"position": [0,-10,0]}},
  {"name": "U", "object": "beam", "transform": {"position": [5,-10,0]}},
  {"name": "H1", "object": "grp", "transform": {"position": [0,0,0]}, "children": [
    {"name": "H1Box", "object": "box"}, {"name": "H1Copy", "object": "tri", "userProperties": "ZRInstance T"}]},
  {"name": "H2", "object": "grp", "transform": {"position": [10,0,0]}, "children": [
    {"name": "H2Box", "object": "box"}, {"name": "H2Copy", "object": "tri", "userProperties": "ZRInstance U"}]},
  {"name": "H3", "object": "grp", "transform": {"position": [20,0,0]}, "children": [
    {"name": "H3Box", "object": "box"}, {"name": "H3Tri", "object": "tri", "userProperties": "ZRIsLOD"}]},
  {"name": "H4", "object": "grp", "transform": {"position": [30,0,0]}, "children": [
    {"name": "H4Box", "object": "box"}, {"name": "H4Tri", "object": "tri"}]})"},
    // Stretchable objects are stored one unit large (or long) and stretched by their instances.
    {"scalable and extrudable templates", "meters", R"(
  {"name": "Pillar", "object": "box", "transform": {"position": [2,0,0], "eulerDegrees": [0,0,30]},
   "userProperties": "VNXScalable Pillar"},
  {"name": "Beam", "object": "beam", "transform": {"position": [0,5,3], "eulerDegrees": [0,0,20]},
   "userProperties": "VNXExtrudable Beam"},
  {"name": "Post", "object": "box", "transform": {"position": [-3,0,0], "eulerDegrees": [10,0,0]},
   "userProperties": "VNXExtrudable Post"})"},
    {"centimetre scene", "centimeters", R"(
  {"name": "Cm", "object": "box", "transform": {"position": [500,1000,0], "eulerDegrees": [0,0,60],
   "scale": [100,100,100]}})"},
};

std::string SceneText(const SceneCase& c)
{
    return MakeSceneText(std::string(R"("unit": {"type": ")") + c.unit + R"("}, )" + kObjects
        + R"(, "nodes": [)" + c.nodes + "]");
}

double Distance(const WorldPoint& a, const vxinfo::Vec3& b)
{
    return std::sqrt(std::pow(a[0] - b[0], 2) + std::pow(a[1] - b[1], 2) + std::pow(a[2] - b[2], 2));
}

// Whether actual has expected's corners in the same cyclic order (same winding).
bool SameTriangle(const WorldCorners& expected, const vxinfo::WorldTriangle& actual)
{
    for (std::size_t shift = 0; shift < 3; ++shift) {
        bool all = true;
        for (std::size_t k = 0; k < 3 && all; ++k)
            all = Distance(expected[k], actual.corners[(k + shift) % 3]) <= kTolerance;
        if (all)
            return true;
    }
    return false;
}

std::string Describe(const WorldCorners& t)
{
    std::ostringstream text;
    for (const WorldPoint& p : t)
        text << "(" << p[0] << ", " << p[1] << ", " << p[2] << ") ";
    return text.str();
}

vxinfo::Vec3 Cross(const vxinfo::Vec3& a, const vxinfo::Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// Every expected triangle matches one read triangle of the same winding, and nothing is left over;
// the stored normals point the way the winding does.
void ExpectSameTriangles(
    const std::vector<WorldCorners>& expected, const std::vector<vxinfo::WorldTriangle>& actual)
{
    EXPECT_EQ(actual.size(), expected.size());
    std::vector<bool> used(actual.size(), false);
    int missing = 0;
    for (const WorldCorners& e : expected) {
        bool found = false;
        for (std::size_t i = 0; i < actual.size() && !found; ++i) {
            if (!used[i] && SameTriangle(e, actual[i]))
                used[i] = found = true;
        }
        if (!found && ++missing <= 3)
            ADD_FAILURE() << "no triangle read back at " << Describe(e);
    }
    EXPECT_EQ(missing, 0);
    for (const vxinfo::WorldTriangle& t : actual) {
        vxinfo::Vec3 e1 {}, e2 {};
        for (int k = 0; k < 3; ++k) {
            e1[k] = t.corners[1][k] - t.corners[0][k];
            e2[k] = t.corners[2][k] - t.corners[0][k];
        }
        const vxinfo::Vec3 face = Cross(e1, e2);
        for (const vxinfo::Vec3& n : t.normals) {
            const double dot = face[0] * n[0] + face[1] * n[1] + face[2] * n[2];
            EXPECT_GT(dot, 0.0) << "a normal points against its face in " << t.path;
        }
    }
}

// A box as min and max corners.
struct Bounds {
    vxinfo::Vec3 min {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
        std::numeric_limits<double>::max()};
    vxinfo::Vec3 max {std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest(),
        std::numeric_limits<double>::lowest()};

    void Add(const vxinfo::Vec3& p)
    {
        for (int k = 0; k < 3; ++k) {
            min[k] = std::min(min[k], p[k]);
            max[k] = std::max(max[k], p[k]);
        }
    }
};

// The root object's stored box bounds every triangle of the design, tightly, and the camera stands
// in front of it (less y) at its centre in x and z.
void ExpectRootBoxAndCamera(const OpenedDesign& design, const std::vector<vxinfo::WorldTriangle>& triangles)
{
    ASSERT_FALSE(design.content.roots.empty());
    const vxinfo::RootRow& root = design.content.roots.front();
    const auto object = std::find_if(design.content.objects.begin(), design.content.objects.end(),
        [&](const vxinfo::ObjectRow& o) { return o.luid == root.object; });
    ASSERT_NE(object, design.content.objects.end());
    Bounds content;
    for (const vxinfo::WorldTriangle& t : triangles)
        for (const vxinfo::Vec3& p : t.corners)
            content.Add(p);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(object->boxMin[k], content.min[k], kTolerance) << "root box min, axis " << k;
        EXPECT_NEAR(object->boxMax[k], content.max[k], kTolerance) << "root box max, axis " << k;
    }
    ASSERT_TRUE(root.camera.has_value());
    const vxinfo::Vec3& camera = *root.camera;
    EXPECT_NEAR(camera[0], (content.min[0] + content.max[0]) / 2, kTolerance);
    EXPECT_NEAR(camera[2], (content.min[2] + content.max[2]) / 2, kTolerance);
    EXPECT_LT(camera[1], content.min[1]);
}

// Every object's stored box holds its content in its own frame: its triangles read with it as the
// root. The content is found by reading the database again with each object as the root record.
void ExpectObjectBoxesHoldTheirContent(const OpenedDesign& design)
{
    for (const vxinfo::ObjectRow& object : design.content.objects) {
        vxinfo::DesignContent rooted = design.content;
        rooted.roots = {vxinfo::RootRow {object.luid, std::nullopt, std::nullopt, std::nullopt}};
        Bounds content;
        bool any = false;
        for (const vxinfo::WorldTriangle& t : vxinfo::CollectWorldTriangles(design.db, rooted))
            for (const vxinfo::Vec3& p : t.corners) {
                content.Add(p);
                any = true;
            }
        if (!any)
            continue;
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(object.boxMin[k], content.min[k], kTolerance)
                << object.name << " box min, axis " << k;
            EXPECT_NEAR(object.boxMax[k], content.max[k], kTolerance)
                << object.name << " box max, axis " << k;
        }
    }
}

class ReadBack : public testing::TestWithParam<bool> {
protected:
    TempDir dir;
};

TEST_P(ReadBack, EveryTriangleStandsWhereTheHostShowsIt)
{
    const bool perObject = GetParam();
    for (const SceneCase& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + (perObject ? ", per object" : ", single object"));
        const std::string scene = dir.File("scene.json");
        const std::string target = dir.File("scene.vx");
        WriteTextFile(scene, SceneText(c));
        const vx::SceneLoadResult loaded = vx::LoadSceneFile(scene);
        ASSERT_TRUE(loaded.scene) << (loaded.error ? loaded.error->GetText() : std::string());
        const std::vector<WorldCorners> expected = HostWorldTriangles(*loaded.scene);
        ASSERT_FALSE(expected.empty());

        const ProcessResult run
            = RunVxexport({perObject ? "--per-object" : "--single-object", "-q", scene, target});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ExpectSoundDatabase(target);
        const OpenedDesign design(target);
        ASSERT_EQ(design.openFailure, "");
        const std::vector<vxinfo::WorldTriangle> actual
            = vxinfo::CollectWorldTriangles(design.db, design.content);
        ExpectSameTriangles(expected, actual);
        ExpectRootBoxAndCamera(design, actual);
        ExpectObjectBoxesHoldTheirContent(design);
    }
}

INSTANTIATE_TEST_SUITE_P(BothModes, ReadBack, testing::Values(false, true),
    [](const testing::TestParamInfo<bool>& info) { return info.param ? "PerObject" : "SingleObject"; });

} // namespace
} // namespace vxtest
