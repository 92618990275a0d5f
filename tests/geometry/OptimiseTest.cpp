#include "geometry/OptimiseVertexData.h"

#include "toolkit/VMVertexData.h"

#include <gtest/gtest.h>

#include <vector>

namespace vx {
namespace {

// An unindexed triangle list of the given corners, each with the given normal and (u, v).
struct Corner {
    Vector3 position;
    Vector3 normal;
    float u = 0.0f;
};

VMRef<VMVertexData> MakeList(const std::vector<Corner>& corners)
{
    VMRef<VMVertexData> v = MakeVMRef<VMVertexData>();
    v->SetPrimitiveType(VMVertexData::TRIANGLE_LIST);
    v->SetVertexCount(static_cast<int32_t>(corners.size()));
    v->AllocateNormals();
    v->AllocateTexCoords(0, 2);
    for (int32_t i = 0; i < v->vertexCount; ++i) {
        v->SetPosition(i, corners[static_cast<std::size_t>(i)].position);
        v->SetNormal(i, corners[static_cast<std::size_t>(i)].normal);
        v->SetTexCoord(0, i, 0, corners[static_cast<std::size_t>(i)].u);
        v->SetTexCoord(0, i, 1, 0.0f);
    }
    return v;
}

const Vector3 kUp {0, 1, 0};

TEST(Optimise, WeldsOnlyVerticesEqualInEveryChannel)
{
    // Two triangles of a quad sharing the edge 1-2; the second copy of corner 2 has -0 as u,
    // which equals 0, and corner 1's copy has another normal, so it stays apart.
    VMRef<VMVertexData> v = MakeList({
        {{0, 0, 0}, kUp},
        {{1, 0, 0}, kUp},
        {{0, 0, 1}, kUp},
        {{1, 0, 0}, {0, 0, 1}},
        {{1, 0, 1}, kUp},
        {{0, 0, 1}, kUp, -0.0f},
    });
    OptimiseVertexData(*v);
    EXPECT_EQ(v->indexCount, 6);
    EXPECT_EQ(v->vertexCount, 5);
    const uint16_t expected[] = {0, 1, 2, 3, 4, 2};
    for (int32_t k = 0; k < 6; ++k)
        EXPECT_EQ(v->GetIndex(k), expected[k]) << k;
    EXPECT_EQ(v->GetNormal(3), (Vector3 {0, 0, 1}));
}

TEST(Optimise, NothingSharedLeavesTheListUnindexed)
{
    VMRef<VMVertexData> v = MakeList({{{0, 0, 0}, kUp}, {{1, 0, 0}, kUp}, {{0, 0, 1}, kUp}});
    OptimiseVertexData(*v);
    EXPECT_FALSE(v->HasChannel(VMVertexData::INDEX_CHANNEL));
    EXPECT_EQ(v->vertexCount, 3);
    EXPECT_EQ(v->GetPosition(2), (Vector3 {0, 0, 1}));
}

TEST(Optimise, DegenerateTrianglesAreRemoved)
{
    VMRef<VMVertexData> v = MakeList({
        {{0, 0, 0}, kUp},
        {{0, 0, 0}, kUp},
        {{1, 0, 0}, kUp}, // two equal corners
        {{0, 0, 0}, kUp},
        {{1e-16f, 0, 0}, kUp},
        {{0, 0, 1}, kUp}, // an edge shorter than 1e-15
        {{0, 0, 0}, kUp},
        {{1, 0, 0}, kUp},
        {{2, 0, 0}, kUp}, // collinear
        {{5, 0, 0}, kUp},
        {{6, 0, 0}, kUp},
        {{5, 0, 1}, kUp},
    });
    OptimiseVertexData(*v);
    EXPECT_EQ(v->vertexCount, 3);
    EXPECT_EQ(v->GetPosition(0), (Vector3 {5, 0, 0}));

    VMRef<VMVertexData> none = MakeList({{{0, 0, 0}, kUp}, {{0, 0, 0}, kUp}, {{0, 0, 0}, kUp}});
    OptimiseVertexData(*none);
    EXPECT_EQ(none->VertexFormatCode(), 0u);
    EXPECT_EQ(none->vertexCount, 0);
}

TEST(Optimise, IsValidTriangleChecksIndicesAndShape)
{
    VMRef<VMVertexData> v = MakeList({{{0, 0, 0}, kUp}, {{1, 0, 0}, kUp}, {{0, 0, 1}, kUp}});
    EXPECT_TRUE(IsValidTriangle(*v, 0, 1, 2));
    EXPECT_FALSE(IsValidTriangle(*v, 0, 1, 3));
    EXPECT_FALSE(IsValidTriangle(*v, 0, 0, 2));
    EXPECT_FALSE(IsValidTriangle(*v, -1, 1, 2));
}

TEST(Optimise, LargeListsWeldWithoutAnIdentityIndexList)
{
    // 70000 corners naming only three distinct vertices.
    std::vector<Corner> corners;
    for (int t = 0; t < 70002 / 3; ++t) {
        corners.push_back({{0, 0, 0}, kUp});
        corners.push_back({{1, 0, 0}, kUp});
        corners.push_back({{0, 0, 1}, kUp});
    }
    VMRef<VMVertexData> v = MakeList(corners);
    OptimiseVertexData(*v);
    EXPECT_EQ(v->vertexCount, 3);
    EXPECT_EQ(v->indexCount, 70002);
    EXPECT_EQ(v->GetIndex(70001), 2);
}

} // namespace
} // namespace vx
