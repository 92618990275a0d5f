#include "toolkit/VMAlphaProperty.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMRenderFlagsProperty.h"
#include "toolkit/VMRenderState.h"
#include "toolkit/VMTextureProperty.h"
#include "toolkit/VMWireFrameProperty.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

VMRef<VMRenderState> MakeState(const VMColor& diffuse)
{
    VMRef<VMRenderState> state = MakeVMRef<VMRenderState>();
    state->AppendNew<VMMaterialProperty>()->SetDiffuse(diffuse);
    return state;
}

TEST(MaterialProperty, SettersSetUseFlagsFromThresholds)
{
    VMMaterialProperty mp;
    mp.SetAmbient({0.0f, 0.0099f, 0.0f});
    EXPECT_FALSE(mp.UseAmbient);
    mp.SetDiffuse({0.0f, 0.0f, 0.01f});
    EXPECT_TRUE(mp.UseDiffuse);
    mp.SetAlpha(0.99f);
    EXPECT_FALSE(mp.UseAlpha);
    mp.SetAlpha(0.9f);
    EXPECT_TRUE(mp.UseAlpha);
    mp.Alpha = 1.0f; // direct writes leave the flags
    EXPECT_TRUE(mp.UseAlpha);
}

TEST(RenderState, FindScansFromTheLastAndRemoveDropsTheReference)
{
    VMRef<VMRenderState> state = MakeVMRef<VMRenderState>();
    EXPECT_TRUE(state->IsEmpty());
    VMRef<VMAlphaProperty> first = MakeVMRef<VMAlphaProperty>();
    VMRef<VMAlphaProperty> second = MakeVMRef<VMAlphaProperty>();
    state->AppendProperty(first.Get());
    state->AppendProperty(second.Get());
    EXPECT_EQ(state->Find<VMAlphaProperty>(), second.Get());
    EXPECT_EQ(second->RefCount(), 2);
    state->RemoveProperty(second.Get());
    EXPECT_EQ(second->RefCount(), 1);
    EXPECT_EQ(state->Find<VMAlphaProperty>(), first.Get());
    EXPECT_EQ(state->Find<VMMaterialProperty>(), nullptr);
}

TEST(RenderState, MaterialIdentityUsesTolerancesOfUsedFieldsOnly)
{
    VMRef<VMRenderState> a = MakeState({0.5f, 0.5f, 0.5f});
    EXPECT_TRUE(AreIdenticalStates(a.Get(), MakeState({0.505f, 0.5f, 0.5f}).Get()));
    EXPECT_FALSE(AreIdenticalStates(a.Get(), MakeState({0.52f, 0.5f, 0.5f}).Get()));
    EXPECT_FALSE(AreIdenticalStates(a.Get(), MakeState({0.0f, 0.0f, 0.0f}).Get())); // flag differs

    // Unused colours and Power do not count.
    VMRef<VMRenderState> b = MakeState({0.5f, 0.5f, 0.5f});
    b->Find<VMMaterialProperty>()->Ambient = {0.0f, 0.3f, 0.0f};
    b->Find<VMMaterialProperty>()->Power = 99.0f;
    EXPECT_TRUE(AreIdenticalStates(a.Get(), b.Get()));
    EXPECT_EQ(StateIdentityKey(*a), StateIdentityKey(*b));

    // Alpha within 0.01 when used.
    a->Find<VMMaterialProperty>()->SetAlpha(0.5f);
    b->Find<VMMaterialProperty>()->SetAlpha(0.509f);
    EXPECT_TRUE(AreIdenticalStates(a.Get(), b.Get()));
    b->Find<VMMaterialProperty>()->SetAlpha(0.52f);
    EXPECT_FALSE(AreIdenticalStates(a.Get(), b.Get()));
}

TEST(RenderState, IdentityNeedsTheSameClassesAndEqualProperties)
{
    VMRef<VMRenderState> a = MakeState({0.5f, 0.5f, 0.5f});
    VMRef<VMRenderState> b = MakeState({0.5f, 0.5f, 0.5f});
    a->AppendNew<VMRenderFlagsProperty>()->SetFlag(0);
    EXPECT_FALSE(AreIdenticalStates(a.Get(), b.Get())); // counts differ
    b->AppendNew<VMAlphaProperty>();
    EXPECT_FALSE(AreIdenticalStates(a.Get(), b.Get())); // classes differ
    b->RemoveProperty(b->Find<VMAlphaProperty>());
    b->AppendNew<VMRenderFlagsProperty>()->SetFlag(8);
    EXPECT_FALSE(AreIdenticalStates(a.Get(), b.Get()));
    b->Find<VMRenderFlagsProperty>()->flags = 1;
    EXPECT_TRUE(AreIdenticalStates(a.Get(), b.Get()));
    EXPECT_FALSE(AreIdenticalStates(a.Get(), nullptr));
    EXPECT_TRUE(AreIdenticalStates(nullptr, nullptr));

    // Order of properties does not matter, and neither does it for the key.
    VMRef<VMRenderState> c = MakeVMRef<VMRenderState>();
    c->AppendNew<VMRenderFlagsProperty>()->SetFlag(0);
    c->AppendNew<VMMaterialProperty>()->SetDiffuse({0.5f, 0.5f, 0.5f});
    EXPECT_TRUE(AreIdenticalStates(a.Get(), c.Get()));
    EXPECT_EQ(StateIdentityKey(*a), StateIdentityKey(*c));
}

TEST(RenderState, AlphaWireAndTextureEquality)
{
    VMAlphaProperty a;
    VMAlphaProperty b;
    b.alpha = 1.0f + 1e-6f;
    EXPECT_TRUE(a.Equals(b));
    b.SetAdditive();
    EXPECT_FALSE(a.Equals(b));

    VMWireFrameProperty w;
    VMWireFrameProperty v;
    v.width = 1.09f;
    v.red = 0.995f;
    EXPECT_TRUE(w.Equals(v));
    v.width = 1.2f;
    EXPECT_FALSE(w.Equals(v));

    VMTextureProperty t;
    VMTextureProperty u;
    VMRef<VMTexture> one = MakeVMRef<VMTexture>();
    one->FileName = "/maps/Brick.png";
    VMRef<VMTexture> two = MakeVMRef<VMTexture>();
    two->FileName = "/MAPS/brick.PNG";
    t.FillStage(0)->texture = one;
    u.FillStage(0)->texture = two;
    EXPECT_TRUE(t.Equals(u));
    u.FillStage(0)->coordinateWord = 1;
    EXPECT_FALSE(t.Equals(u));
    u.FillStage(0)->coordinateWord = 0x0100; // only the source byte counts
    EXPECT_TRUE(t.Equals(u));
    u.FillStage(3);
    EXPECT_EQ(u.SlotCount(), 4);
    EXPECT_FALSE(t.Equals(u));
    u.RemoveStage(3);
    EXPECT_EQ(u.SlotCount(), 1);
    EXPECT_TRUE(t.Equals(u));
    two->FileName.clear();
    one->FileName.clear();
    EXPECT_FALSE(t.Equals(u)); // empty file names never match
}

} // namespace
} // namespace vx
