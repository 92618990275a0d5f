#include "materials/ConvertMaterial.h"
#include "materials/SharedStateList.h"

#include "MaterialTestSupport.h"
#include "toolkit/VMAlphaProperty.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMRenderFlagsProperty.h"
#include "toolkit/VMWireFrameProperty.h"

#include <cmath>
#include <limits>

namespace vx {
namespace {

using Conversion = vxtest::MaterialRun;

const VMMaterialProperty& Mp(const VMRef<VMRenderState>& state)
{
    const auto* mp = state->Find<VMMaterialProperty>();
    EXPECT_NE(mp, nullptr);
    static const VMMaterialProperty none;
    return mp ? *mp : none;
}

void ExpectColour(const VMColor& actual, const VMColor& expected)
{
    EXPECT_NEAR(actual.r, expected.r, 1e-6f);
    EXPECT_NEAR(actual.g, expected.g, 1e-6f);
    EXPECT_NEAR(actual.b, expected.b, 1e-6f);
}

TEST_F(Conversion, LowShininessTurnsSpecularOffAndKeepsTheUnscaledColour)
{
    MemoryMaterial& m = Standard("Dull");
    m.specular = {0.8f, 0.8f, 0.8f};
    m.shininessStrength = 0.5f;
    m.shininess = 0.15f;
    const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    ASSERT_TRUE(state);
    EXPECT_FALSE(Mp(state).UseSpecular);
    EXPECT_EQ(Mp(state).Power, 0.0f);
    ExpectColour(Mp(state).Specular, {0.8f, 0.8f, 0.8f});
    EXPECT_STREQ(state->name.c_str(), "Dull");

    MemoryMaterial& shiny = Standard("Shiny");
    shiny.specular = {1.0f, 1.0f, 1.0f};
    shiny.shininessStrength = 1.0f;
    shiny.shininess = 0.5f;
    const VMRef<VMRenderState> bright = ConvertMaterial(&shiny, 0, 0);
    EXPECT_TRUE(Mp(bright).UseSpecular);
    EXPECT_FLOAT_EQ(Mp(bright).Power, 128.0f);
}

TEST_F(Conversion, OpacityCutoffAndTransparencyTypes)
{
    struct Case {
        float opacity;
        int transparencyType;
        float mpAlpha;
        bool useAlpha;
        int sourceFactor; // -1: no alpha property
        float alphaValue;
    };
    const Case cases[] = {
        {0.95f, 2, 1.0f, false, -1, 0.0f},
        {0.9f, 2, 0.9f, true, -1, 0.0f},
        {0.9f, 1, 1.0f, false, kBlendOne, 0.9f},
        {0.9f, 0, 1.0f, false, kBlendZero, 0.9f},
    };
    int n = 0;
    for (const Case& c : cases) {
        MemoryMaterial& m = Standard(("Glass" + std::to_string(n++)).c_str());
        m.opacity = c.opacity;
        m.transparencyType = c.transparencyType;
        const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
        EXPECT_FLOAT_EQ(Mp(state).Alpha, c.mpAlpha);
        EXPECT_EQ(Mp(state).UseAlpha, c.useAlpha);
        const auto* ap = state->Find<VMAlphaProperty>();
        if (c.sourceFactor < 0) {
            EXPECT_EQ(ap, nullptr);
        } else {
            ASSERT_NE(ap, nullptr);
            EXPECT_EQ(ap->sourceFactor, c.sourceFactor);
            EXPECT_FLOAT_EQ(ap->alpha, c.alphaValue);
        }
    }
}

TEST_F(Conversion, FlagsWireAndSelfIllumination)
{
    MemoryMaterial& m = Standard("Wired");
    m.twoSided = true;
    m.faceted = true;
    m.wire = true;
    m.wireSize = 2.5f;
    m.diffuse = {0.2f, 0.4f, 0.6f};
    m.selfIllumination = 0.5f;
    const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    const auto* flags = state->Find<VMRenderFlagsProperty>();
    ASSERT_NE(flags, nullptr);
    EXPECT_EQ(flags->flags, (1u << 0) | (1u << 6) | (1u << 8));
    const auto* wire = state->Find<VMWireFrameProperty>();
    ASSERT_NE(wire, nullptr);
    EXPECT_FLOAT_EQ(wire->green, 0.4f); // the diffuse colour: no emissive yet at that step
    EXPECT_FLOAT_EQ(wire->width, 2.5f);
    EXPECT_TRUE(Mp(state).UseEmissive);
    ExpectColour(Mp(state).Emissive, {0.1f, 0.2f, 0.3f});
}

TEST_F(Conversion, GenericMaterialsTakeTheirCommonValues)
{
    MemoryMaterial& m = host.AddMaterial({0x1234, 0x5678}, "Other");
    m.diffuse = {0.3f, 0.3f, 0.3f};
    m.ambient = {-0.5f, 0.000001f, 0.2f}; // cleaned to (0, 0, 0.2)
    m.shininess = 0.1f;
    m.opacity = 0.5f;
    m.twoSided = true; // read only by the standard path
    const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    ExpectColour(Mp(state).Ambient, {0.0f, 0.0f, 0.2f});
    EXPECT_FLOAT_EQ(Mp(state).Power, 8.0f);
    EXPECT_FLOAT_EQ(Mp(state).Alpha, 0.5f);
    EXPECT_TRUE(Mp(state).UseAlpha);
    EXPECT_EQ(state->Find<VMRenderFlagsProperty>(), nullptr);
}

TEST_F(Conversion, NonFiniteValuesCountAsAbsent)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    MemoryMaterial& m = Standard("Broken");
    m.diffuse = {nan, 0.5f, 0.5f};
    m.opacity = nan;
    m.shininess = inf;
    m.selfIllumination = nan;
    const VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    const VMMaterialProperty& mp = Mp(state);
    EXPECT_FALSE(mp.UseDiffuse);
    ExpectColour(mp.Diffuse, {1.0f, 1.0f, 1.0f});
    EXPECT_FLOAT_EQ(mp.Alpha, 1.0f);
    EXPECT_FALSE(mp.UseAlpha);
    EXPECT_FALSE(mp.UseEmissive);
    EXPECT_TRUE(std::isfinite(mp.Power));
}

TEST_F(Conversion, MultiMaterialsConvertEachSubMaterialOnce)
{
    MemoryMaterial& multi = host.AddMaterial(kClassMultiMaterial, "Multi");
    const float greys[] = {0.2f, 0.5f, 0.8f};
    for (int i = 0; i < 3; ++i) {
        MemoryMaterial& sub = Standard(("Sub" + std::to_string(i)).c_str());
        sub.diffuse = {greys[i], greys[i], greys[i]};
        multi.subMaterials.push_back(&sub);
    }
    VMRef<VMRenderState> states[3];
    for (int i = 0; i < 3; ++i)
        states[i] = ConvertMaterial(&multi, 0, i);
    EXPECT_STREQ(states[1]->name.c_str(), "Sub1");
    EXPECT_NE(states[0], states[1]);
    EXPECT_EQ(ConvertMaterial(&multi, 0, 1), states[1]);
    EXPECT_FALSE(ConvertMaterial(&multi, 0, 3)); // no wrap-around
    EXPECT_EQ(MaterialTableCount(), 3u);

    // Shell takes slot 1, double-sided slot 0; an empty slot gives no state.
    MemoryMaterial& shell = host.AddMaterial(kClassShellMaterial, "Shell");
    shell.subMaterials = {multi.subMaterials[0], multi.subMaterials[2]};
    EXPECT_EQ(ConvertMaterial(&shell, 0, 0), states[2]);
    MemoryMaterial& twoSided = host.AddMaterial(kClassDoubleSidedMaterial, "Double");
    twoSided.subMaterials = {nullptr};
    EXPECT_FALSE(ConvertMaterial(&twoSided, 0, 0));
}

TEST_F(Conversion, MaterialCyclesEndInNoState)
{
    MemoryMaterial& a = host.AddMaterial(kClassDoubleSidedMaterial, "A");
    MemoryMaterial& b = host.AddMaterial(kClassShellMaterial, "B");
    a.subMaterials = {&b};
    b.subMaterials = {&b, &a};
    EXPECT_FALSE(ConvertMaterial(&a, 0, 0));
}

TEST_F(Conversion, IdenticalMaterialsShareAStateAndNamesAreReported)
{
    MemoryMaterial& wall = Standard("Wall");
    MemoryMaterial& wall2 = Standard("Wall2");
    const VMRef<VMRenderState> first = ConvertMaterial(&wall, 0, 0);
    const VMRef<VMRenderState> second = ConvertMaterial(&wall2, 0, 0);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(second->name.c_str(), "Wall");
    EXPECT_EQ(messages, "Information: Identical materials have different names: Wall2, Wall\n");

    messages.clear();
    MemoryMaterial& red = Standard("Wall");
    red.diffuse = {1.0f, 0.0f, 0.0f};
    const VMRef<VMRenderState> third = ConvertMaterial(&red, 0, 0);
    EXPECT_NE(third, first);
    EXPECT_EQ(messages, "Warning: Different materials have the same name: Wall\n");
}

TEST_F(Conversion, SpecialShadersApplyTheirParameters)
{
    MemoryMaterial& a = Standard("ShaderA");
    a.shader = std::make_unique<MemoryShader>();
    a.shader->classId = kShaderA;
    a.shader->diffuse = {0.1f, 0.2f, 0.3f};
    a.shader->specular = {1.0f, 1.0f, 1.0f};
    a.shader->intParams = {{9, 1}, {15, 5}, {6, 2}, {7, 10}, {10, 1}, {12, 1}};
    a.shader->floatParams = {{4, 33.0f}, {5, 0.4f}};
    const VMRef<VMRenderState> state = ConvertMaterial(&a, 0, 0);
    EXPECT_TRUE(Mp(state).UseSpecular);
    EXPECT_FLOAT_EQ(Mp(state).Power, 33.0f);
    ExpectColour(Mp(state).Diffuse, {0.1f, 0.2f, 0.3f});
    const auto* ap = state->Find<VMAlphaProperty>();
    ASSERT_NE(ap, nullptr);
    EXPECT_EQ(ap->sourceFactor, kBlendSrcColor);
    EXPECT_EQ(ap->destinationFactor, kBlendSrcAlphaSaturate);
    EXPECT_FLOAT_EQ(ap->alpha, 0.4f); // moved from the material property
    EXPECT_FALSE(Mp(state).UseAlpha);
    EXPECT_EQ(state->Find<VMRenderFlagsProperty>()->flags, (1u << 5) | (1u << 4));

    // Blend mode 1 removes the alpha property that the transparency type made.
    MemoryMaterial& b = Standard("ShaderB");
    b.opacity = 0.5f;
    b.transparencyType = 1;
    b.shader = std::make_unique<MemoryShader>();
    b.shader->classId = kShaderB;
    b.shader->intParams = {{118, 1}};
    b.shader->floatParams = {{5, 0.5f}};
    const VMRef<VMRenderState> opaque = ConvertMaterial(&b, 0, 0);
    EXPECT_EQ(opaque->Find<VMAlphaProperty>(), nullptr);
    EXPECT_FALSE(Mp(opaque).UseAlpha);
    EXPECT_FALSE(Mp(opaque).UseSpecular); // integer 15 is 0
}

TEST(BlendFactorCode, MapsShaderNumbers)
{
    const int expected[] = {1, 0, 768, 769, 774, 775, 770, 771, 772, 773, 776, 1};
    for (int number = 0; number < 12; ++number)
        EXPECT_EQ(BlendFactorCode(number), expected[number]) << number;
}

TEST_F(Conversion, SharedStateListKeepsTheFirstIdenticalState)
{
    VMRef<VMRenderState> a = MakeVMRef<VMRenderState>();
    a->AppendNew<VMMaterialProperty>()->SetDiffuse({0.5f, 0.5f, 0.5f});
    VMRef<VMRenderState> b = MakeVMRef<VMRenderState>();
    b->AppendNew<VMMaterialProperty>()->SetDiffuse({0.505f, 0.5f, 0.5f});
    VMRef<VMRenderState> c = MakeVMRef<VMRenderState>();
    c->AppendNew<VMMaterialProperty>()->SetDiffuse({0.9f, 0.5f, 0.5f});
    EXPECT_EQ(FindOrAddSharedState(a.Get()), a);
    EXPECT_EQ(FindOrAddSharedState(c.Get()), c);
    EXPECT_EQ(FindOrAddSharedState(b.Get()), a);
    EXPECT_FALSE(FindOrAddSharedState(nullptr));
    EXPECT_EQ(SharedStateCount(), 2u);
    // Looked up again, a listed state is itself; once the list is emptied it is a stranger again.
    EXPECT_EQ(FindOrAddSharedState(c.Get()), c);
    EXPECT_EQ(FindOrAddSharedState(a.Get()), a);
    EmptySharedStateList();
    EXPECT_EQ(FindOrAddSharedState(b.Get()), b);
    EXPECT_EQ(FindOrAddSharedState(a.Get()), b);
    EXPECT_EQ(SharedStateCount(), 1u);
}

TEST(RunTables, TheEndOfARunEmptiesTheMaterialTables)
{
    MemoryHost host;
    MemoryMaterial& m = host.AddMaterial(kClassStandardMaterial, "M");
    auto context = std::make_unique<SceneContext>();
    CurrentSceneContext() = context.get();
    VMRef<VMRenderState> state = ConvertMaterial(&m, 0, 0);
    FindOrAddSharedState(state.Get());
    EXPECT_EQ(state->RefCount(), 3); // ours, the material table's, the shared list's
    context->EmptyRunTables();
    EXPECT_EQ(state->RefCount(), 1);
    EXPECT_EQ(SharedStateCount(), 0u);
    CurrentSceneContext() = nullptr;
    context.reset();

    // The next run starts empty and registers again.
    context = std::make_unique<SceneContext>();
    CurrentSceneContext() = context.get();
    VMRef<VMRenderState> again = ConvertMaterial(&m, 0, 0);
    EXPECT_NE(again, state);
    CurrentSceneContext() = nullptr;
    context.reset();
    EXPECT_EQ(again->RefCount(), 1);
}

} // namespace
} // namespace vx
