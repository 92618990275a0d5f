#include "materials/SanitizeName.h"
#include "materials/UsesTextureCoordinates.h"
#include "materials/WireColourState.h"

#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMTextureProperty.h"
#include "toolkit/VMVertexData.h"

#include <gtest/gtest.h>

#include <string>

namespace vx {
namespace {

TEST(WireColourState, KeysKeepFiveBitsAndRepeatThree)
{
    EXPECT_EQ(WireColourKey(0x00FF8000u, 1.0f), 0xFFFF8400u);
    EXPECT_EQ(WireColourKey(0x00FF8101u, 1.0f), 0xFFFF8400u);
    EXPECT_EQ(WireColourKey(0x00FF8000u, 0.5f) >> 24, 128u); // 127.5 rounds to even
    EXPECT_EQ(WireColourKey(0, 2.0f) >> 24, 255u);
    EXPECT_EQ(WireColourKey(0, -1.0f) >> 24, 0u);
}

TEST(WireColourState, OneStatePerKeyNamedByItsColour)
{
    const VMRef<VMRenderState> state = WireColourState(0x00FF8000u, 1.0f);
    EXPECT_STREQ(state->name.c_str(), "Color 0.00 0.52 1.00");
    const auto* mp = state->Find<VMMaterialProperty>();
    ASSERT_NE(mp, nullptr);
    EXPECT_TRUE(mp->UseDiffuse && mp->UseAmbient);
    EXPECT_FLOAT_EQ(mp->Diffuse.g, 132.0f / 255.0f);
    EXPECT_FALSE(mp->UseAlpha);
    EXPECT_EQ(WireColourState(0x00FF8101u, 1.0f), state);

    const VMRef<VMRenderState> seeThrough = WireColourState(0x00FF8000u, 0.5f);
    EXPECT_NE(seeThrough, state);
    EXPECT_STREQ(seeThrough->name.c_str(), "Color 0.00 0.52 1.00 0.50");
    EXPECT_TRUE(seeThrough->Find<VMMaterialProperty>()->UseAlpha);
}

TEST(SanitizeName, TrimsAndReplacesBytes)
{
    struct Case {
        std::string in;
        const char* out;
    };
    const Case cases[] = {
        {" Brick\t ", "Brick"},
        {"Red\tBrick", "Red_Brick"},
        {"Caf\xE9", "Caf?"},
        {"\x01\x02", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(SanitizeName(c.in.c_str()).c_str(), c.out) << c.in;
    EXPECT_STREQ(SanitizeName(nullptr).c_str(), "");
    EXPECT_EQ(SanitizeName(std::string(300, 'x').c_str()).Length(), 255);
}

TEST(UsesTextureCoordinates, OnlyTexturedStagesOutsideTheEnvironmentSlot)
{
    VMRef<VMVertexData> vd = MakeVMRef<VMVertexData>();
    VMRef<VMRenderState> state = MakeVMRef<VMRenderState>();
    EXPECT_FALSE(UsesTextureCoordinates(state.Get(), vd.Get()));
    auto* tp = state->AppendNew<VMTextureProperty>();
    tp->FillStage(0); // no texture
    tp->FillStage(8)->texture = MakeVMRef<VMTexture>();
    EXPECT_FALSE(UsesTextureCoordinates(state.Get(), vd.Get()));
    tp->FillStage(3)->texture = MakeVMRef<VMTexture>();
    EXPECT_TRUE(UsesTextureCoordinates(state.Get(), vd.Get()));
    EXPECT_FALSE(UsesTextureCoordinates(state.Get(), nullptr));
    EXPECT_FALSE(UsesTextureCoordinates(nullptr, vd.Get()));
}

} // namespace
} // namespace vx
