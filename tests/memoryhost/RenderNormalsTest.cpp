#include "memoryhost/RenderNormals.h"
#include "memoryhost/MemoryMesh.h"

#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vx {
namespace {

void ExpectNear(const HostPoint3& actual, const HostPoint3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-6f);
    EXPECT_NEAR(actual.y, expected.y, 1e-6f);
    EXPECT_NEAR(actual.z, expected.z, 1e-6f);
}

// Three faces around the corner vertex 0, with the face normals +z (face 0), +y (face 1) and
// +x (face 2).
MemoryMesh MakeCorner(std::uint32_t group0, std::uint32_t group1, std::uint32_t group2)
{
    MemoryMesh mesh;
    mesh.SetVerts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    mesh.SetFaces(
        {HostFace {{0, 1, 2}, group0, 0}, HostFace {{0, 3, 1}, group1, 0}, HostFace {{0, 2, 3}, group2, 0}});
    return mesh;
}

const float kThird = static_cast<float>(1.0 / std::sqrt(3.0));
const float kHalf = static_cast<float>(1.0 / std::sqrt(2.0));

TEST(RenderNormals, FaceNormalsFollowTheWinding)
{
    const MemoryMesh mesh = MakeCorner(0, 0, 0);
    ExpectNear(mesh.GetFaceNormal(0), {0, 0, 1});
    ExpectNear(mesh.GetFaceNormal(1), {0, 1, 0});
    ExpectNear(mesh.GetFaceNormal(2), {1, 0, 0});
    ExpectNear(mesh.GetFaceNormal(3), {0, 0, 0}); // out of range
}

TEST(RenderNormals, OneNormalPerSetOfSmoothingGroupsAroundAVertex)
{
    struct Expected {
        HostPoint3 normal;
        std::uint32_t groups;
    };
    struct Case {
        const char* what;
        std::uint32_t groups[3];
        std::vector<Expected> corner; // the render normals of vertex 0
    };
    const Case cases[] = {
        {"one shared group smooths all faces", {1, 1, 1}, {{{kThird, kThird, kThird}, 1}}},
        {"separate groups keep one normal each, in face order", {1, 2, 4},
            {{{0, 0, 1}, 1}, {{0, 1, 0}, 2}, {{1, 0, 0}, 4}}},
        {"a face in both groups joins them", {1, 2, 3}, {{{kThird, kThird, kThird}, 3}}},
        {"smoothing group 0 adds nothing", {1, 1, 0}, {{{0, kHalf, kHalf}, 1}}},
        {"all faces in group 0 leave no normals", {0, 0, 0}, {}},
        {"groups sharing one bit of several", {0x3, 0x6, 0x8}, {{{0, kHalf, kHalf}, 0x7}, {{1, 0, 0}, 0x8}}},
    };
    for (const Case& c : cases) {
        MemoryMesh mesh = MakeCorner(c.groups[0], c.groups[1], c.groups[2]);
        mesh.BuildNormals();
        const HostRenderVertex& corner = mesh.GetRenderVertex(0);
        EXPECT_FALSE(corner.specified) << c.what;
        ASSERT_EQ(corner.normals.size(), c.corner.size()) << c.what;
        for (size_t i = 0; i < c.corner.size(); ++i) {
            SCOPED_TRACE(c.what);
            ExpectNear(corner.normals[i].normal, c.corner[i].normal);
            EXPECT_EQ(corner.normals[i].smGroup, c.corner[i].groups);
        }
    }
}

TEST(RenderNormals, EachVertexSeesOnlyItsOwnFaces)
{
    MemoryMesh mesh = MakeCorner(1, 1, 0);
    // Vertex 1 lies on faces 0 and 1, vertex 2 on faces 0 and 2 (group 0), vertex 3 on 1 and 2.
    ASSERT_EQ(mesh.GetRenderVertex(1).normals.size(), 1u);
    ExpectNear(mesh.GetRenderVertex(1).normals[0].normal, {0, kHalf, kHalf});
    ASSERT_EQ(mesh.GetRenderVertex(2).normals.size(), 1u);
    ExpectNear(mesh.GetRenderVertex(2).normals[0].normal, {0, 0, 1});
    ASSERT_EQ(mesh.GetRenderVertex(3).normals.size(), 1u);
    ExpectNear(mesh.GetRenderVertex(3).normals[0].normal, {0, 1, 0});
}

TEST(RenderNormals, ExplicitNormalsAreSpecifiedAndWin)
{
    MemoryMesh mesh = MakeCorner(1, 2, 4);
    mesh.SetExplicitNormals({{0, 0, 1}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}});
    mesh.BuildNormals();
    const HostRenderVertex& corner = mesh.GetRenderVertex(0);
    EXPECT_TRUE(corner.specified);
    ASSERT_EQ(corner.normals.size(), 1u);
    ExpectNear(corner.normals[0].normal, {0, 0, 1});
    ExpectNear(mesh.GetFaceNormal(2), {1, 0, 0}); // face normals are still built
}

TEST(RenderNormals, DegenerateAndBrokenFacesDoNoHarm)
{
    vxtest::DebugCapture capture;
    const std::vector<HostPoint3> verts {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const std::vector<HostFace> faces {
        HostFace {{0, 0, 1}, 1, 0}, HostFace {{0, 1, 7}, 1, 0}, HostFace {{0, 1, 2}, 1, 0}};
    const RenderNormals normals = BuildRenderNormals(verts, faces, {});
    ExpectNear(normals.faceNormals[0], {0, 0, 0});
    ExpectNear(normals.faceNormals[1], {0, 0, 0});
    ASSERT_EQ(normals.vertices[2].normals.size(), 1u);
    ExpectNear(normals.vertices[2].normals[0].normal, {0, 0, 1});
    // Vertex 0: the degenerate face adds a zero normal, the broken one nothing.
    ExpectNear(normals.vertices[0].normals[0].normal, {0, 0, 1});
    EXPECT_NE(capture.Text().find("face vertex index < vertex count"), std::string::npos);
}

TEST(RenderNormals, SettingDataRebuildsTheNormals)
{
    MemoryMesh mesh = MakeCorner(1, 1, 1);
    ASSERT_EQ(mesh.GetRenderVertex(0).normals.size(), 1u);
    mesh.SetFaces({HostFace {{0, 1, 2}, 0, 0}});
    EXPECT_TRUE(mesh.GetRenderVertex(0).normals.empty());
    EXPECT_TRUE(mesh.GetRenderVertex(99).normals.empty());
}

} // namespace
} // namespace vx
