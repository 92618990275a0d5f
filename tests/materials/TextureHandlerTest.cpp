// Texture stages of converted materials: slots by material kind and channel, colour adjustments,
// the amount threshold, texture objects shared per image, and the texture classes.

#include "materials/TextureHandler.h"
#include "materials/ConvertMaterial.h"
#include "materials/CopyHostImage.h"

#include "MaterialTestSupport.h"
#include "memoryhost/MemoryTexture.h"
#include "support/TempDir.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMTextureProperty.h"

#include <cmath>
#include <fstream>
#include <limits>

namespace vx {
namespace {

class Textures : public vxtest::MaterialRun {
protected:
    Textures() { run.host = &host; }

    MemoryTexture& Bitmap(const std::string& path, const char* name = "map")
    {
        MemoryTexture& texture = host.AddTexture(kClassBitmapTexture, name);
        texture.mapName = path;
        return texture;
    }
    // A standard material of class (2, 0), whose map amounts count, with texture on channel.
    MemoryMaterial& WithMap(const char* name, int channel, HostTexture& texture, float amount = 1.0f)
    {
        MemoryMaterial& m = host.AddMaterial(kClassStandardMaterial, name);
        m.SetMap(channel, {&texture, amount, true});
        return m;
    }
    MemoryMaterial& WithShader(const char* name, HostClassId shader)
    {
        MemoryMaterial& m = host.AddMaterial(kClassStandardMaterial, name);
        m.shader = std::make_unique<MemoryShader>();
        m.shader->classId = shader;
        m.shader->intParams[shader == kShaderA ? 8 : 11] = 2; // lit, so the material property stays
        return m;
    }
    static const VMTextureProperty* Tp(const VMRef<VMRenderState>& state)
    {
        return state ? state->Find<VMTextureProperty>() : nullptr;
    }
    static const VMMaterialProperty* Mp(const VMRef<VMRenderState>& state)
    {
        return state ? state->Find<VMMaterialProperty>() : nullptr;
    }
    // The slots that hold a stage.
    static std::vector<int> FilledSlots(const VMTextureProperty* tp)
    {
        std::vector<int> slots;
        for (int i = 0; tp && i < tp->SlotCount(); ++i)
            if (tp->Stage(i))
                slots.push_back(i);
        return slots;
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.File(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    vxtest::TempDir dir;
};

void ExpectColour(const VMColor& actual, const VMColor& expected)
{
    EXPECT_NEAR(actual.r, expected.r, 1e-6f);
    EXPECT_NEAR(actual.g, expected.g, 1e-6f);
    EXPECT_NEAR(actual.b, expected.b, 1e-6f);
}

TEST_F(Textures, DiffuseMapLightensDiffuseAndAmbientByItsAmountAndFillsTheBaseSlot)
{
    struct Case {
        float amount;
        VMColor diffuse;
        VMColor ambient;
    };
    const Case cases[] = {
        {1.0f, {1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}},
        {0.5f, {0.6f, 0.65f, 0.7f}, {0.55f, 0.6f, 0.65f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        MemoryMaterial& m
            = WithMap(c.amount == 1.0f ? "Full" : "Half", 1, Bitmap("/maps/wood.png"), c.amount);
        m.diffuse = {0.2f, 0.3f, 0.4f};
        m.ambient = {0.1f, 0.2f, 0.3f};
        const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
        ASSERT_TRUE(Mp(state) && Tp(state));
        ExpectColour(Mp(state)->Diffuse, c.diffuse);
        ExpectColour(Mp(state)->Ambient, c.ambient);
        EXPECT_EQ(FilledSlots(Tp(state)), std::vector<int> {0});
        const VMTextureStage* stage = Tp(state)->Stage(0);
        EXPECT_EQ(stage->firstModeWord, 0x01000200u);
        EXPECT_EQ(stage->secondModeWord, 0x01000200u); // the image's alpha is used
        EXPECT_EQ(stage->coordinateWord, 0x02000000u); // filtered, map channel 1
        EXPECT_STREQ(stage->texture->name.c_str(), "wood.png");
        EXPECT_FLOAT_EQ(Tp(state)->factor[3], c.amount);
    }
}

TEST_F(Textures, AmountsBelowATenthOrNotFiniteAreIgnored)
{
    for (float amount :
        {0.05f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        SCOPED_TRACE(amount);
        MemoryMaterial& m = WithMap("Faint", 1, Bitmap("/maps/wood.png"), amount);
        m.diffuse = {0.2f, 0.3f, 0.4f};
        const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
        ASSERT_TRUE(Mp(state));
        EXPECT_EQ(Tp(state), nullptr);
        ExpectColour(Mp(state)->Diffuse, {0.2f, 0.3f, 0.4f});
    }
}

TEST_F(Textures, OpacityMapOfTheDiffuseImageSharesItsStageAnotherImageTakesSlotSix)
{
    MemoryTexture& wood = Bitmap("/maps/wood.png");
    MemoryMaterial& same = WithMap("Same", 1, wood);
    same.SetMap(6, {&wood, 1.0f, true});
    const VMRef<VMRenderState> one = ConvertMaterial(&same, 0, 0);
    EXPECT_EQ(FilledSlots(Tp(one)), std::vector<int> {0});
    EXPECT_EQ(Tp(one)->Stage(0)->secondModeWord, 0x00000202u);

    MemoryMaterial& other = WithMap("Other", 1, wood);
    other.SetMap(6, {&Bitmap("/maps/mask.png"), 0.5f, true});
    const VMRef<VMRenderState> two = ConvertMaterial(&other, 0, 0);
    EXPECT_EQ(FilledSlots(Tp(two)), (std::vector<int> {0, 6}));
    EXPECT_EQ(Tp(two)->Stage(6)->firstModeWord, 0u);
    EXPECT_EQ(Tp(two)->Stage(6)->secondModeWord, 0x01000302u);
    EXPECT_FLOAT_EQ(Tp(two)->factor[3], 0.5f);
}

TEST_F(Textures, ReflectionMapKeepsABrightSpecularAtFullAmountAndScalesItOtherwise)
{
    struct Case {
        float amount;
        VMColor specular;
        uint32_t firstModeWord;
    };
    const Case cases[] = {{1.0f, {1, 1, 1}, 0x02120200u}, {0.5f, {0.5f, 0.5f, 0.5f}, 0x06040200u}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        MemoryMaterial& m
            = WithMap(c.amount == 1.0f ? "Mirror" : "Dim", 9, Bitmap("/maps/sky.png"), c.amount);
        m.specular = {1, 1, 1};
        m.shininessStrength = 1.0f;
        m.shininess = 0.5f;
        const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
        ASSERT_TRUE(Mp(state) && Tp(state));
        ExpectColour(Mp(state)->Specular, c.specular);
        EXPECT_TRUE(Mp(state)->UseSpecular);
        EXPECT_EQ(FilledSlots(Tp(state)), std::vector<int> {8});
        EXPECT_EQ(Tp(state)->Stage(8)->firstModeWord, c.firstModeWord);
        EXPECT_EQ(Tp(state)->Stage(8)->CoordinateSource(), 0x12u);
    }
}

TEST_F(Textures, StandardChannelsFillTheirSlots)
{
    const std::pair<int, int> channelSlot[]
        = {{0, 0}, {2, 3}, {3, 3}, {4, 3}, {5, 4}, {7, 7}, {8, 5}, {10, 7}, {11, 7}};
    for (const auto& [channel, slot] : channelSlot) {
        SCOPED_TRACE(channel);
        MemoryTexture& texture = Bitmap("/maps/c" + std::to_string(channel) + ".png");
        const VMRef<VMRenderState> state = ConvertMaterial(&WithMap("M", channel, texture, 0.5f), 0, 0);
        EXPECT_EQ(FilledSlots(Tp(state)), std::vector<int> {slot});
    }
    // The bump map's strength goes into the texture.
    const VMRef<VMRenderState> bump
        = ConvertMaterial(&WithMap("Bump", 8, Bitmap("/maps/bump.png"), 0.37f), 0, 0);
    EXPECT_EQ(Tp(bump)->Stage(5)->texture->GetIntProperty("HeightToNormal"), 37);
}

TEST_F(Textures, SpecialShadersPlaceChannelsByTheirOwnTables)
{
    struct Case {
        HostClassId shader;
        int channel;
        std::vector<int> slots;
    };
    const Case cases[] = {
        {kShaderB, 0, {0}},
        {kShaderB, 1, {1}},
        {kShaderB, 2, {2}},
        {kShaderB, 3, {6}},
        {kShaderB, 4, {5}},
        {kShaderB, 5, {3}},
        {kShaderB, 6, {4}},
        {kShaderB, 7, {}},
        {kShaderB, 8, {}},
        {kShaderB, 9, {7}},
        {kShaderB, 10, {8}},
        {kShaderB, 11, {}},
        {kShaderA, 0, {9}},
        {kShaderA, 1, {0}},
        {kShaderA, 2, {1}},
        {kShaderA, 3, {2}},
        {kShaderA, 4, {6}},
        {kShaderA, 5, {3}},
        {kShaderA, 6, {4}},
        {kShaderA, 7, {5}},
        {kShaderA, 8, {8}},
        {kShaderA, 9, {7}},
        {kShaderA, 20, {7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.shader == kShaderA ? "A" : "B") + " channel " + std::to_string(c.channel));
        MemoryMaterial& m = WithShader("S", c.shader);
        m.SetMap(c.channel, {&Bitmap("/maps/s" + std::to_string(c.channel) + ".png"), 1.0f, true});
        EXPECT_EQ(FilledSlots(Tp(ConvertMaterial(&m, 0, 0))), c.slots);
    }
}

TEST_F(Textures, ShaderAMergesItsAlphaStageIntoTheStageOfTheSameImage)
{
    MemoryTexture& wood = Bitmap("/maps/wood.tga");
    MemoryMaterial& m = WithShader("Glass", kShaderA);
    m.SetMap(0, {&wood, 0.5f, true});
    m.SetMap(1, {&wood, 0.5f, true});
    const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    ASSERT_TRUE(Tp(state));
    EXPECT_EQ(FilledSlots(Tp(state)), std::vector<int> {0});
    EXPECT_EQ(Tp(state)->Stage(0)->secondModeWord, 0x06130200u);
    EXPECT_FLOAT_EQ(Tp(state)->factor[3], 0.5f);
    EXPECT_NE(messages.find("Warning: Percentage ignored on texture wood.tga\n"), std::string::npos)
        << messages;
}

TEST_F(Textures, StageCoordinatesFollowTheTextureSource)
{
    struct Case {
        int uvwSource;
        int mapChannel;
        uint32_t source;
    };
    const Case cases[] = {{0, 3, 2}, {1, 1, 0x15}, {2, 1, 0x14}, {3, 1, 0x15}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uvwSource);
        MemoryTexture& texture = Bitmap("/maps/u" + std::to_string(c.uvwSource) + ".png");
        texture.uvwSource = c.uvwSource;
        texture.mapChannel = c.mapChannel;
        const VMRef<VMRenderState> state = ConvertMaterial(&WithMap("U", 1, texture), 0, 0);
        EXPECT_EQ(Tp(state)->Stage(0)->CoordinateSource(), c.source);
    }
}

TEST_F(Textures, SameFileNameInAnyCaseSharesOneTextureWhenTheLaterImageIsNowhere)
{
    const VMRef<VMRenderState> a = ConvertMaterial(&WithMap("A", 1, Bitmap("c:\\a\\wood.tga")), 0, 0);
    const VMRef<VMRenderState> b = ConvertMaterial(&WithMap("B", 1, Bitmap("d:\\b\\WOOD.TGA")), 0, 0);
    ASSERT_TRUE(Tp(a) && Tp(b));
    EXPECT_EQ(Tp(a)->Stage(0)->texture.Get(), Tp(b)->Stage(0)->texture.Get());
}

TEST_F(Textures, SameFileNameInTwoFoldersSharesOnlyTheSameImage)
{
    const std::string chair = Write("chair/diffuse.png", "chair image");
    const std::string table = Write("table/diffuse.png", "table image");
    const std::string copy = Write("copy/DIFFUSE.png", "chair image");
    const VMRef<VMRenderState> first = ConvertMaterial(&WithMap("Chair", 1, Bitmap(chair)), 0, 0);
    const VMRef<VMRenderState> second = ConvertMaterial(&WithMap("Table", 1, Bitmap(table)), 0, 0);
    const VMRef<VMRenderState> third = ConvertMaterial(&WithMap("Copy", 1, Bitmap(copy)), 0, 0);
    const VMTexture* chairTexture = Tp(first)->Stage(0)->texture.Get();
    EXPECT_NE(chairTexture, Tp(second)->Stage(0)->texture.Get());
    EXPECT_EQ(Tp(second)->Stage(0)->texture->FileName, table);
    EXPECT_EQ(chairTexture, Tp(third)->Stage(0)->texture.Get());
}

TEST_F(Textures, BitmapWithoutFileWarnsAndMakesNoStage)
{
    const VMRef<VMRenderState> state
        = ConvertMaterial(&WithMap("Empty", 1, Bitmap("", "Nameless map")), 0, 0);
    EXPECT_EQ(FilledSlots(Tp(state)), std::vector<int> {});
    EXPECT_NE(messages.find("Warning: Texture without file: Nameless map\n"), std::string::npos) << messages;
}

TEST_F(Textures, ImageOffDiskIsCopiedFromTheHostAndOddSizesWarn)
{
    MemoryTexture& wide = Bitmap("/gone/wide.tga");
    wide.bitmap = MemoryImage {300, 256, 2.0f, false, {}};
    MemoryTexture& grey = Bitmap("/gone/grey.tga");
    grey.bitmap = MemoryImage {2, 1, 1.0f, true, {{255, 255, 255, 65535}, {65535, 65535, 65535, 0}}};
    MemoryMaterial& m = WithMap("Copied", 1, wide);
    m.SetMap(2, {&grey, 1.0f, true});
    const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    ASSERT_TRUE(Tp(state));
    const VMTexture& wideTexture = *Tp(state)->Stage(0)->texture;
    EXPECT_FLOAT_EQ(wideTexture.AspectRatio, 2.0f);
    EXPECT_EQ(wideTexture.FileName, "wide.tga"); // not on disk: only the file name
    EXPECT_NE(messages.find("Warning: Texture dimensions not power of 2: wide.tga\n"), std::string::npos)
        << messages;
    EXPECT_EQ(messages.find("power of 2: grey.tga"), std::string::npos);

    const VMImage& image = Tp(state)->Stage(3)->texture->image;
    EXPECT_EQ(image.width, 2);
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_TRUE(image.grayscale);
    // 16-bit channels are rounded to 8 bits: 255 / 65535 is nearer 1 / 255 than 0.
    EXPECT_EQ(image.rgba, (std::vector<uint8_t> {1, 1, 1, 255, 255, 255, 255, 0}));
}

TEST_F(Textures, ChannelReductionRoundsToNearest)
{
    EXPECT_EQ(ReduceChannel(0), 0);
    EXPECT_EQ(ReduceChannel(127), 0);
    EXPECT_EQ(ReduceChannel(129), 1);
    EXPECT_EQ(ReduceChannel(200 * 257), 200);
    EXPECT_EQ(ReduceChannel(65535), 255);
}

TEST_F(Textures, MoviesAndImageListsKeepTheirClassesAndTakeStages)
{
    MemoryTexture& list = Bitmap("/maps/fire.IFL");
    list.playbackRate = 2.5f;
    MemoryMaterial& m = WithMap("Animated", 1, Bitmap("/maps/clip.avi"));
    m.SetMap(5, {&list, 1.0f, true});
    const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    ASSERT_TRUE(Tp(state));
    EXPECT_EQ(FilledSlots(Tp(state)), (std::vector<int> {0, 4}));
    EXPECT_TRUE(dynamic_cast<const VMAVTexture*>(Tp(state)->Stage(0)->texture.Get()));
    const auto* animated = dynamic_cast<const VMAnimatedTexture*>(Tp(state)->Stage(4)->texture.Get());
    ASSERT_TRUE(animated);
    EXPECT_FLOAT_EQ(animated->frameTime, 2.5f);
    EXPECT_EQ(animated->MipMaps, 1);
}

TEST_F(Textures, CubeMapFacesComeFromTheTextEntriesAndEmptyEntriesGiveNoFace)
{
    MemoryTexture& cube = host.AddTexture(kClassCubeMapTexture, "Sky");
    cube.paramTexts[{10, 0}] = "/sky/px.png";
    cube.paramTexts[{10, 1}] = "";
    cube.paramTexts[{10, 2}] = "/sky/pz.png";
    cube.paramTexts[{10, 4}] = "/sky/py.png";
    MemoryTexture& other = host.AddTexture(kClassCubeMapTexture, "Empty");
    const VMRef<VMRenderState> state = ConvertMaterial(&WithMap("Env", 9, cube), 0, 0);
    ASSERT_TRUE(Tp(state));
    const auto* made = dynamic_cast<const VMCubeTexture*>(Tp(state)->Stage(8)->texture.Get());
    ASSERT_TRUE(made);
    EXPECT_STREQ(made->faces[VMCubeTexture::PosX]->name.c_str(), "px.png");
    EXPECT_EQ(made->faces[VMCubeTexture::PosZ]->FileName, "/sky/pz.png");
    EXPECT_EQ(made->faces[VMCubeTexture::PosY]->FileName, "/sky/py.png");
    for (auto face : {VMCubeTexture::NegX, VMCubeTexture::NegY, VMCubeTexture::NegZ})
        EXPECT_FALSE(made->faces[face]) << face;
    EXPECT_STREQ(made->name.c_str(), "Sky");

    const VMRef<VMRenderState> empty = ConvertMaterial(&WithMap("Env2", 9, other), 0, 0);
    const auto* none = dynamic_cast<const VMCubeTexture*>(Tp(empty)->Stage(8)->texture.Get());
    ASSERT_TRUE(none);
    for (const auto& face : none->faces)
        EXPECT_FALSE(face);
}

TEST_F(Textures, ProceduralTexturesAreRenderedOrLeftOut)
{
    MemoryTexture& checker = host.AddTexture(kClassCheckerTexture, " Checker\t");
    checker.pattern = ProceduralPattern {};
    MemoryTexture& noise = host.AddTexture({0x1234, 1}, "Noise");
    MemoryMaterial& m = WithMap("Procedural", 1, checker);
    m.SetMap(5, {&noise, 1.0f, true});
    const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    ASSERT_TRUE(Tp(state));
    EXPECT_EQ(FilledSlots(Tp(state)), std::vector<int> {0});
    const VMTexture& rendered = *Tp(state)->Stage(0)->texture;
    EXPECT_STREQ(rendered.name.c_str(), "Checker");
    EXPECT_TRUE(rendered.FileName.empty());
    EXPECT_EQ(rendered.image.width, 256);
    EXPECT_EQ(rendered.image.rgba.size(), 256u * 256u * 4u);
}

TEST_F(Textures, RetiredMaterialKindReportsAnErrorAndPlacesNothing)
{
    MemoryMaterial& m = host.AddMaterial(kVemoMaterial, "Old");
    m.SetMap(1, {&Bitmap("/maps/old.png"), 1.0f, true});
    const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    EXPECT_EQ(FilledSlots(Tp(state)), std::vector<int> {});
    EXPECT_NE(messages.find("Error: vemoMtl is no longer supported\n"), std::string::npos) << messages;
}

} // namespace
} // namespace vx
