#include "geometry/DesignFrame.h"
#include "geometry/NodeGeometry.h"
#include "geometry/SameVertexData.h"
#include "geometry/SharedVertexDataList.h"

#include "GeometryTestSupport.h"
#include "design/Model.h"
#include "toolkit/VMAlphaProperty.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMTextureProperty.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace vx {
namespace {

using Attachment = vxtest::GeometryRun;

VMRef<VMVertexData> MakeTriangle(bool normals = true, int sets = 0)
{
    VMRef<VMVertexData> v = MakeVMRef<VMVertexData>();
    v->SetPrimitiveType(VMVertexData::TRIANGLE_LIST);
    v->SetVertexCount(3);
    v->SetPosition(0, {0, 0, 0});
    v->SetPosition(1, {1, 0, 0});
    v->SetPosition(2, {0, 0, 1});
    if (normals) {
        v->AllocateNormals();
        for (int32_t i = 0; i < 3; ++i)
            v->SetNormal(i, {0, 1, 0});
    }
    for (int s = 0; s < sets; ++s)
        v->AllocateTexCoords(s, 2);
    return v;
}

VMRef<VMRenderState> MakeState(float grey, float alpha = 1.0f)
{
    VMRef<VMRenderState> state = MakeVMRef<VMRenderState>();
    auto* mp = state->AppendNew<VMMaterialProperty>();
    mp->SetDiffuse({grey, grey, grey});
    mp->SetAlpha(alpha);
    return state;
}

TEST_F(Attachment, OnlyTheFourLayoutsAreAccepted)
{
    struct Case {
        bool normals;
        int sets;
        bool colours;
        bool accepted;
    };
    const Case cases[] = {
        {false, 0, false, true},
        {true, 0, false, true},
        {true, 1, false, true},
        {true, 2, false, true},
        {true, 0, true, false},
        {false, 1, false, false},
    };
    ZR::Model model;
    int accepted = 0;
    for (const Case& c : cases) {
        VMRef<VMVertexData> v = MakeTriangle(c.normals, c.sets);
        if (c.colours)
            v->AllocateColours();
        AttachVertexData(model, v, MakeState(0.5f).Get(), Transform {});
        accepted += c.accepted ? 1 : 0;
        EXPECT_EQ(model.pairs.Count(), static_cast<uint32_t>(accepted));
    }
    // Set 1 without set 0 (code 259).
    VMRef<VMVertexData> gap = MakeTriangle(true, 0);
    gap->AllocateTexCoords(1, 2);
    AttachVertexData(model, gap, MakeState(0.5f).Get(), Transform {});
    EXPECT_EQ(model.pairs.Count(), 4u);
    EXPECT_EQ(CloseLog(),
        "Invalid vertex data format\r\nInvalid vertex data format\r\nInvalid vertex data format\r\n");
}

TEST_F(Attachment, FullyTransparentOrEmptyPiecesAreLeftOut)
{
    ZR::Model model;
    AttachVertexData(model, MakeTriangle(), MakeState(0.5f, 0.005f).Get(), Transform {});
    AttachVertexData(model, MakeTriangle(), nullptr, Transform {});
    AttachVertexData(model, nullptr, MakeState(0.5f).Get(), Transform {});
    AttachVertexData(model, MakeTriangle(), MakeVMRef<VMRenderState>().Get(), Transform {});
    VMRef<VMRenderState> blended = MakeState(0.5f);
    blended->AppendNew<VMAlphaProperty>()->alpha = 0.005f;
    AttachVertexData(model, MakeTriangle(), blended.Get(), Transform {});
    VMRef<VMVertexData> empty = MakeVMRef<VMVertexData>();
    AttachVertexData(model, empty, MakeState(0.5f).Get(), Transform {});
    EXPECT_TRUE(model.pairs.IsEmpty());
    AttachVertexData(model, MakeTriangle(), MakeState(0.5f, 0.01f).Get(), Transform {});
    EXPECT_EQ(model.pairs.Count(), 1u);
    EXPECT_EQ(CloseLog(), ""); // no format line for the empty piece
}

TEST_F(Attachment, VerticesAreTransformedThenYAndZExchanged)
{
    ZR::Model model;
    Transform t;
    t.rows = {{2, 0, 0}, {0, 1, 0}, {0, 0, 1}}; // stretched along x
    t.position = {10, 20, 30};
    VMRef<VMVertexData> v = MakeTriangle();
    const float h = static_cast<float>(1 / std::sqrt(2.0));
    v->SetNormal(0, {h, h, 0});
    AttachVertexData(model, v, MakeState(0.5f).Get(), t);
    ASSERT_EQ(model.pairs.Count(), 1u);
    const VMVertexData& out = *model.pairs[0].vd;
    EXPECT_EQ(out.GetPosition(1), (Vector3 {12, 30, 20}));
    // Inverse transpose: (h/2, h, 0) renormalised to (1, 2, 0) / sqrt(5), then y and z exchanged.
    const Vector3 n = out.GetNormal(0);
    EXPECT_NEAR(n.x, 1 / std::sqrt(5.0f), 1e-6f);
    EXPECT_NEAR(n.y, 0.0f, 1e-6f);
    EXPECT_NEAR(n.z, 2 / std::sqrt(5.0f), 1e-6f);
    EXPECT_EQ(v->GetPosition(1), (Vector3 {1, 0, 0})); // the source is not changed

    // Data handed over with its only reference is moved in place, not copied.
    VMRef<VMVertexData> handed = MakeTriangle();
    const VMVertexData* handedData = handed.Get();
    AttachVertexData(model, std::move(handed), MakeState(0.5f).Get(), t);
    ASSERT_EQ(model.pairs.Count(), 2u);
    EXPECT_EQ(model.pairs[1].vd.Get(), handedData);
    EXPECT_EQ(model.pairs[1].vd->GetPosition(1), (Vector3 {12, 30, 20}));
}

TEST_F(Attachment, StatesWithoutTexturesDropTheTextureCoordinates)
{
    ZR::Model model;
    AttachVertexData(model, MakeTriangle(true, 1), MakeState(0.5f).Get(), Transform {});
    VMRef<VMRenderState> textured = MakeState(0.8f);
    textured->AppendNew<VMTextureProperty>()->FillStage(0)->texture = MakeVMRef<VMTexture>();
    AttachVertexData(model, MakeTriangle(true, 1), textured.Get(), Transform {});
    ASSERT_EQ(model.pairs.Count(), 2u);
    EXPECT_EQ(model.pairs[0].vd->VertexFormatCode(), 3u);
    EXPECT_EQ(model.pairs[1].vd->VertexFormatCode(), 131u);
}

TEST_F(Attachment, EqualStatesAndVertexDataAreShared)
{
    ZR::Model first;
    ZR::Model second;
    VMRef<VMRenderState> a = MakeState(0.5f);
    VMRef<VMRenderState> b = MakeState(0.505f);
    VMRef<VMVertexData> v = MakeTriangle();
    AttachVertexData(first, v, a.Get(), Transform {});
    AttachVertexData(second, v, b.Get(), Transform {});
    VMRef<VMVertexData> moved = MakeTriangle();
    AttachVertexData(second, moved, b.Get(), Transform {{}, {1, 0, 0}});
    ASSERT_EQ(second.pairs.Count(), 2u);
    EXPECT_EQ(second.pairs[0].rs, a);
    EXPECT_EQ(second.pairs[1].rs, a);
    EXPECT_EQ(second.pairs[0].vd, first.pairs[0].vd);
    EXPECT_NE(second.pairs[1].vd, first.pairs[0].vd);
    EXPECT_EQ(SharedVertexDataCount(), 2u);

    // Without sharing each pair keeps its own clone, but the model's own equal state is still used.
    run.shareEqualData = false;
    AttachVertexData(second, v, b.Get(), Transform {});
    EXPECT_NE(second.pairs[2].vd, first.pairs[0].vd);
    EXPECT_EQ(second.pairs[2].rs, a);
}

TEST_F(Attachment, SharedListFindsTheFirstSameDataAcrossNeighbouringCells)
{
    // The first positions sit on both sides of zero, where the list's grid cells meet: the probe
    // is within tolerance of both entries (which are not of each other) and gets the earlier one.
    auto triangleAt = [](float x) {
        VMRef<VMVertexData> v = MakeTriangle();
        v->SetPosition(0, {x, 0, 0});
        return v;
    };
    EmptySharedVertexDataList();
    VMRef<VMVertexData> below = triangleAt(-1.0e-5f);
    VMRef<VMVertexData> above = triangleAt(1.0e-5f);
    VMRef<VMVertexData> probe = triangleAt(0.0f);
    EXPECT_EQ(FindOrAddSharedVertexData(below.Get()), below);
    EXPECT_EQ(FindOrAddSharedVertexData(above.Get()), above);
    EXPECT_EQ(FindOrAddSharedVertexData(probe.Get()), below);
    VMRef<VMVertexData> nearAbove = triangleAt(1.5e-5f);
    EXPECT_EQ(FindOrAddSharedVertexData(nearAbove.Get()), above);
    EXPECT_EQ(SharedVertexDataCount(), 2u);
}

TEST(NormalTransformer, GivesTransformNormalsResultBitForBit)
{
    // Repeated normals (as a smooth mesh gives them), signed zeros, tiny and non-finite components,
    // and more distinct normals than the transformer keeps.
    const Rotation rows = NormalRows({{2, 0, 0.5f}, {0, 1, 0}, {0.25f, 0, 1}});
    const float nan = std::nanf("");
    std::vector<Vector3> normals {
        {0, 1, 0}, {-0.0f, 1, 0}, {0, 1, -0.0f}, {1e-30f, 1, 0}, {nan, 1, 0}, {INFINITY, 0, 0}, {0, 0, 0}};
    for (int i = 0; i < 2000; ++i) {
        const float a = static_cast<float>(i % 700) * 0.01f;
        normals.push_back({std::sin(a), std::cos(a), static_cast<float>(i % 3) - 1.0f});
    }
    NormalTransformer transform(rows);
    for (int pass = 0; pass < 2; ++pass) {
        for (const Vector3& n : normals) {
            const Vector3 got = transform(n);
            const Vector3 want = TransformNormal(rows, n);
            EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << n.x << " " << n.y << " " << n.z;
        }
    }
}

TEST(SameVertexData, PositionsAndNormalsWithinTolerance)
{
    struct Case {
        float positionShift;
        float normalDegrees;
        bool same;
    };
    const Case cases[] = {
        {1e-6f, 0, true},
        {1e-4f, 0, false},
        {0, 20, true},
        {0, 30, false},
    };
    for (const Case& c : cases) {
        VMRef<VMVertexData> a = MakeTriangle();
        VMRef<VMVertexData> b = MakeTriangle();
        b->SetPosition(2, {0, c.positionShift, 1});
        const float r = c.normalDegrees * 3.14159265f / 180.0f;
        b->SetNormal(1, {std::sin(r), std::cos(r), 0});
        EXPECT_EQ(SameVertexData(*a, *b), c.same) << c.positionShift << " " << c.normalDegrees;
        if (c.same) {
            EXPECT_EQ(VertexDataKey(*a), VertexDataKey(*b));
        }
    }
    // A normal element shorter than three floats reads as the zero vector: similar to nothing.
    VMRef<VMVertexData> shortNormals = MakeTriangle();
    shortNormals->channels[VMVertexData::NORMAL_CHANNEL].resize(3 * 8);
    EXPECT_FALSE(SameVertexData(*MakeTriangle(), *shortNormals));
    // Normals are not compared when one side has none; texture coordinates are exact.
    VMRef<VMVertexData> plain = MakeTriangle(false, 1);
    VMRef<VMVertexData> lit = MakeTriangle(true, 1);
    EXPECT_TRUE(SameVertexData(*plain, *lit));
    lit->SetTexCoord(0, 0, 0, 0.5f);
    EXPECT_FALSE(SameVertexData(*plain, *lit));
}

} // namespace
} // namespace vx
