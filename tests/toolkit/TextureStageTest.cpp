// Stage records of a texture property: the words a new stage starts with, and refilling a slot.

#include "toolkit/VMTextureProperty.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(TextureStage, NewStageTakesTheWordsOfItsSlotAndTexture)
{
    struct Case {
        int slot;
        int32_t mipMaps;
        bool filtered;
        int32_t alphaQuality;
        uint32_t coordinateWord;
        uint32_t firstModeWord;
        uint32_t secondModeWord;
    };
    const Case cases[] = {
        {0, 0, true, 1, 0x03002100u, 0x01000200u, 0x01000200u},
        {0, 1, false, 0, 0x00002100u, 0x01000200u, 0u},
        {1, 0, true, 1, 0x02002100u, 0x01000200u, 0u},
        {2, 0, true, 1, 0x02002100u, 0x11000200u, 0u},
        {3, 0, true, 1, 0x02002100u, 0x01000200u, 0u},
        {4, 0, true, 1, 0x02002100u, 0x02000200u, 0u},
        {5, 0, true, 1, 0x02002100u, 0x05002220u, 0u},
        {6, 0, true, 1, 0x02002100u, 0x07120200u, 0u},
        {9, 0, true, 1, 0x02002100u, 0x07120200u, 0u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        VMRef<VMTexture> texture = MakeVMRef<VMTexture>();
        texture->Mode_u = 1;
        texture->Mode_v = 2;
        texture->MipMaps = c.mipMaps;
        texture->Filtered = c.filtered;
        texture->AlphaQuality = c.alphaQuality;
        VMTextureProperty tp;
        const VMTextureStage* stage = tp.FillStage(c.slot, texture.Get());
        ASSERT_TRUE(stage);
        EXPECT_EQ(stage->coordinateWord, c.coordinateWord);
        EXPECT_EQ(stage->firstModeWord, c.firstModeWord);
        EXPECT_EQ(stage->secondModeWord, c.secondModeWord);
        EXPECT_EQ(tp.SlotCount(), c.slot + 1);
    }
}

TEST(TextureStage, RefillingASlotChangesOnlyItsTexture)
{
    VMRef<VMTexture> first = MakeVMRef<VMTexture>();
    VMRef<VMTexture> second = MakeVMRef<VMTexture>();
    second->Filtered = false;
    VMTextureProperty tp;
    VMTextureStage* stage = tp.FillStage(4, first.Get());
    stage->SetFirstMode(6);
    EXPECT_EQ(tp.FillStage(4, second.Get()), stage);
    EXPECT_EQ(stage->texture.Get(), second.Get());
    EXPECT_EQ(stage->firstModeWord, 0x06000200u);
    EXPECT_EQ(stage->coordinateWord, 0x02000000u);
    EXPECT_EQ(tp.FillStage(256, first.Get()), nullptr);
}

} // namespace
} // namespace vx
