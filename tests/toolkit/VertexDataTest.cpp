#include "toolkit/VMVertexData.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vx {
namespace {

VMRef<VMVertexData> MakeTriangle()
{
    VMRef<VMVertexData> v = MakeVMRef<VMVertexData>();
    v->SetPrimitiveType(VMVertexData::TRIANGLE_LIST);
    v->SetVertexCount(3);
    for (int32_t i = 0; i < 3; ++i)
        v->SetPosition(i, {static_cast<float>(i), 0.0f, 0.0f});
    return v;
}

TEST(VertexData, FormatCodeHasOneBitPerPresentChannel)
{
    struct Case {
        bool normals;
        int firstSet; // -1: none
        int secondSet; // -1: none
        bool colours;
        uint32_t code;
    };
    const Case cases[] = {
        {false, -1, -1, false, 1},
        {true, -1, -1, false, 3},
        {true, 0, -1, false, 131},
        {true, 0, 1, false, 387},
        {true, 1, -1, false, 259},
        {true, -1, -1, true, 7},
    };
    for (const Case& c : cases) {
        VMRef<VMVertexData> v = MakeTriangle();
        if (c.normals)
            v->AllocateNormals();
        if (c.colours)
            v->AllocateColours();
        for (int set : {c.firstSet, c.secondSet}) {
            if (set >= 0)
                v->AllocateTexCoords(set, 2);
        }
        v->SetIndexCount(3); // the index list does not count
        EXPECT_EQ(v->VertexFormatCode(), c.code);
    }
}

TEST(VertexData, ElementSizesFollowTheVertexCount)
{
    VMRef<VMVertexData> v = MakeTriangle();
    v->AllocateNormals();
    v->AllocateTexCoords(0, 2);
    v->AllocateCustom(0, 5);
    EXPECT_EQ(v->ElementSize(VMVertexData::POSITION_CHANNEL), 12u);
    EXPECT_EQ(v->ElementSize(VMVertexData::NORMAL_CHANNEL), 12u);
    EXPECT_EQ(v->ElementSize(VMVertexData::FIRST_CUSTOM_CHANNEL), 5u);
    EXPECT_EQ(v->TexCoordComponents(0), 2);
    // Out of range requests allocate nothing.
    v->AllocateTexCoords(1, 5);
    v->AllocateTexCoords(8, 2);
    v->AllocateCustom(4, 1);
    EXPECT_FALSE(v->HasChannel(VMVertexData::FIRST_TEXCOORD_CHANNEL + 1));
    EXPECT_EQ(v->VertexFormatCode(), 1u + 2u + 8u + 128u);
}

TEST(VertexData, GrowingKeepsLeadingElementsAndFillsNewBytesWithFF)
{
    VMRef<VMVertexData> v = MakeTriangle();
    v->AllocateNormals();
    for (int32_t i = 0; i < 3; ++i)
        v->SetNormal(i, {0.0f, 0.0f, 1.0f});
    v->SetVertexCount(6);
    ASSERT_EQ(v->ChannelSize(VMVertexData::NORMAL_CHANNEL), 72u);
    EXPECT_EQ(v->GetNormal(2), (Vector3 {0.0f, 0.0f, 1.0f}));
    for (std::size_t b = 36; b < 72; ++b)
        EXPECT_EQ(v->channels[VMVertexData::NORMAL_CHANNEL][b], 0xFF);
    EXPECT_EQ(v->GetPosition(1), (Vector3 {1.0f, 0.0f, 0.0f}));

    v->SetVertexCount(0);
    EXPECT_EQ(v->VertexFormatCode(), 0u);
    EXPECT_EQ(v->vertexCount, 0);
}

TEST(VertexData, TypedAccessOutOfRangeReadsZeroAndWritesNothing)
{
    VMRef<VMVertexData> v = MakeTriangle();
    v->SetPosition(3, {9.0f, 9.0f, 9.0f});
    v->SetPosition(-1, {9.0f, 9.0f, 9.0f});
    EXPECT_EQ(v->GetPosition(3), Vector3 {});
    EXPECT_EQ(v->GetNormal(0), Vector3 {}); // no normal channel
    EXPECT_EQ(v->GetTexCoord(0, 0, 0), 0.0f);
    EXPECT_EQ(v->GetIndex(0), 0);
    EXPECT_EQ(v->ChannelSize(16), 0u);
    EXPECT_EQ(v->ChannelSize(-1), 0u);
}

TEST(VertexData, CopyVertexCopiesOnlyChannelsOfEqualElementSize)
{
    VMRef<VMVertexData> source = MakeTriangle();
    source->AllocateNormals();
    source->SetNormal(2, {0.0f, 1.0f, 0.0f});
    source->AllocateTexCoords(0, 2);
    source->SetTexCoord(0, 2, 1, 0.5f);

    VMRef<VMVertexData> destination = MakeVMRef<VMVertexData>();
    destination->SetVertexCount(1);
    destination->AllocateNormals();
    destination->AllocateTexCoords(0, 3); // other element size: left alone
    CopyVertex(*destination, 0, *source, 2);
    EXPECT_EQ(destination->GetPosition(0), (Vector3 {2.0f, 0.0f, 0.0f}));
    EXPECT_EQ(destination->GetNormal(0), (Vector3 {0.0f, 1.0f, 0.0f}));
    EXPECT_EQ(destination->channels[VMVertexData::FIRST_TEXCOORD_CHANNEL][4], 0xFF);

    CopyVertex(*destination, 0, *source, 3); // out of range: nothing
    EXPECT_EQ(destination->GetPosition(0), (Vector3 {2.0f, 0.0f, 0.0f}));
}

TEST(VertexData, CopyVerticesCopiesARunAsCopyVertexWouldOrNothing)
{
    VMRef<VMVertexData> source = MakeTriangle();
    source->AllocateNormals();
    for (int32_t i = 0; i < 3; ++i)
        source->SetNormal(i, {0.0f, static_cast<float>(i), 1.0f});
    source->AllocateTexCoords(1, 2);

    VMRef<VMVertexData> destination = MakeVMRef<VMVertexData>();
    destination->SetVertexCount(4);
    destination->AllocateNormals();
    destination->AllocateTexCoords(1, 3); // other element size: left alone
    VMRef<VMVertexData> expected = CloneVertexData(*destination);
    CopyVertices(*destination, 2, *source, 1, 2);
    CopyVertex(*expected, 2, *source, 1);
    CopyVertex(*expected, 3, *source, 2);
    EXPECT_EQ(destination->channels, expected->channels);
    EXPECT_EQ(destination->GetNormal(3), (Vector3 {0.0f, 2.0f, 1.0f}));

    // A run reaching past either end, or a negative start, copies nothing at all.
    for (const auto& [to, from, count] : {std::tuple {3, 0, 2}, std::tuple {0, 2, 2}, std::tuple {-1, 0, 1},
             std::tuple {0, -1, 1}, std::tuple {0, 0, 0}}) {
        VMRef<VMVertexData> untouched = CloneVertexData(*expected);
        CopyVertices(*untouched, to, *source, from, count);
        EXPECT_EQ(untouched->channels, expected->channels) << to << " " << from << " " << count;
    }
}

TEST(VertexData, CloneAndRebuildAreIndependentCopies)
{
    VMRef<VMVertexData> source = MakeTriangle();
    source->SetIndexCount(3);
    source->SetIndex(1, 7);
    VMRef<VMVertexData> clone = CloneVertexData(*source);
    clone->SetPosition(0, {5.0f, 5.0f, 5.0f});
    EXPECT_EQ(source->GetPosition(0), Vector3 {});
    EXPECT_EQ(clone->GetIndex(1), 7);
    EXPECT_EQ(clone->primitiveType, VMVertexData::TRIANGLE_LIST);

    const int32_t list[] = {2, 2, 0, 1};
    VMRef<VMVertexData> rebuilt = RebuildVertexData(*source, list, 4);
    ASSERT_EQ(rebuilt->vertexCount, 4);
    EXPECT_EQ(rebuilt->GetPosition(0), (Vector3 {2.0f, 0.0f, 0.0f}));
    EXPECT_EQ(rebuilt->GetPosition(1), (Vector3 {2.0f, 0.0f, 0.0f}));
    EXPECT_EQ(rebuilt->GetPosition(3), (Vector3 {1.0f, 0.0f, 0.0f}));
}

} // namespace
} // namespace vx
