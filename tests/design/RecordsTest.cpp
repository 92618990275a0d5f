#include "design/PlacementTransform.h"
#include "design/PropertySet.h"
#include "design/PropertyTypes.h"
#include "design/SourceBox.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(PropertySet, KeysAreNameAndTypeAndTextsAreKeptWhole)
{
    ZR::PropertySet set;
    const std::string longText(1000, 't');
    set.SetText(ZR::MakePropertyKey("Colour", ZR::PROPERTY_TYPE_TEXT), "red");
    set.SetText(ZR::MakePropertyKey("Colour", ZR::PROPERTY_TYPE_ANIMATION_DATA), longText);
    set.SetText(ZR::MakePropertyKey("Colour", ZR::PROPERTY_TYPE_TEXT), "blue");
    EXPECT_EQ(set.Texts.Count(), 2u);
    ASSERT_NE(set.FindText(ZR::MakePropertyKey("Colour", 513)), nullptr);
    EXPECT_EQ(*set.FindText(ZR::MakePropertyKey("Colour", 513)), "blue");
    EXPECT_EQ(*set.FindText(ZR::MakePropertyKey("Colour", 4096)), longText);
    EXPECT_EQ(set.FindText(ZR::MakePropertyKey("colour", 513)), nullptr);
    EXPECT_EQ(set.FindText(ZR::MakePropertyKey(nullptr, 513)), nullptr);

    set.SetFlag(ZR::MakePropertyKey("Cutout", ZR::PROPERTY_TYPE_MARKER));
    set.SetFlag(ZR::MakePropertyKey("Cutout", ZR::PROPERTY_TYPE_MARKER));
    EXPECT_EQ(set.Flags.Count(), 1u);
    const std::string path = "/data/" + std::string(400, 'p') + "/anim.bin";
    set.SetFile(ZR::MakePropertyKey("AnimationData", 4096), path);
    EXPECT_EQ(*set.Files.GetPtr(ZR::MakePropertyKey("AnimationData", 4096)), path);
}

TEST(PlacementTransform, FlagsAreClearExactlyForTheIdentity)
{
    struct Case {
        const char* what;
        vx::Transform transform;
        uint32_t flags;
    };
    using T = ZR::PlacementTransform;
    const vx::Rotation quarterTurn {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}};
    const Case cases[] = {
        {"identity", vx::Transform {}, 0},
        {"moved", {vx::Rotation {}, {1, 2, 3}}, T::POSITION_FLAG},
        {"turned", {quarterTurn, {}}, T::ROWS_FLAG},
        {"scaled", {vx::UniformScaleRotation(2.0f), {}}, T::ROWS_FLAG | T::SCALE_FLAG},
        {"all", {vx::UniformScaleRotation(0.5f), {0, 0, 1e-30f}}, T::NOT_IDENTITY_MASK},
    };
    EXPECT_TRUE(ZR::PlacementTransform {}.IsIdentity());
    for (const Case& c : cases) {
        ZR::PlacementTransform t;
        t.Set(c.transform);
        EXPECT_EQ(t.flags, c.flags) << c.what;
        EXPECT_EQ(t.IsIdentity(), c.flags == 0) << c.what;
        EXPECT_TRUE(t.ToTransform() == c.transform) << c.what;
    }
}

TEST(SourceBox, NewBoxIsEmptyAndAFlatBoxIsNot)
{
    ZR::SourceBox box;
    EXPECT_TRUE(box.IsEmpty());
    box.min = {0, 0, 0};
    box.max = {1, 0, 1};
    EXPECT_FALSE(box.IsEmpty());
    box.max.y = -1;
    EXPECT_TRUE(box.IsEmpty());
}

} // namespace
