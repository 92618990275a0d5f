#include "toolkit/VMRef.h"
#include "toolkit/VMRefCounted.h"
#include "toolkit/VMVertexData.h"

#include "support/DebugCapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

namespace {

// Counts its destructions so that a test sees when the last reference freed it.
class Probe : public vx::VMRefCounted {
public:
    explicit Probe(int* destroyed)
        : destroyed_(destroyed)
    {
    }
    ~Probe() override { ++*destroyed_; }

private:
    int* destroyed_;
};

TEST(VMRef, LastReleaseFreesTheObject)
{
    int destroyed = 0;
    vx::VMRef<Probe> first = vx::MakeVMRef<Probe>(&destroyed);
    EXPECT_EQ(first->RefCount(), 1);
    {
        vx::VMRef<Probe> second = first;
        EXPECT_EQ(first->RefCount(), 2);
        EXPECT_TRUE(second == first);
    }
    EXPECT_EQ(first->RefCount(), 1);
    EXPECT_EQ(destroyed, 0);
    first.Reset();
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(first == nullptr);
}

TEST(VMRef, SharedByTwoHoldersOutlivesTheCreator)
{
    int destroyed = 0;
    vx::VMRef<Probe> a;
    vx::VMRef<Probe> b;
    {
        vx::VMRef<Probe> made = vx::MakeVMRef<Probe>(&destroyed);
        a = made;
        b = made;
        EXPECT_EQ(made->RefCount(), 3);
    }
    EXPECT_EQ(a->RefCount(), 2);
    a.Reset();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(b->RefCount(), 1);
    b.Reset();
    EXPECT_EQ(destroyed, 1);
}

TEST(VMRef, MoveHandsTheReferenceOverAndSelfAssignmentKeepsIt)
{
    int destroyed = 0;
    vx::VMRef<Probe> a = vx::MakeVMRef<Probe>(&destroyed);
    Probe* object = a.Get();
    vx::VMRef<Probe> b = std::move(a);
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), object);
    EXPECT_EQ(object->RefCount(), 1);

    vx::VMRef<Probe>& alias = b;
    b = alias;
    b = std::move(alias);
    b.Reset(b.Get());
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(object->RefCount(), 1);

    // A reference to a derived class converts to one to its base and counts as a holder.
    vx::VMRef<vx::VMRefCounted> base = b;
    EXPECT_EQ(object->RefCount(), 2);
    b.Reset();
    base.Reset();
    EXPECT_EQ(destroyed, 1);
}

TEST(VMRefCounted, ReleaseWithoutReferenceIsReportedAndFreesNothing)
{
    vxtest::DebugCapture capture;
    int destroyed = 0;
    Probe* orphan = new Probe(&destroyed);
    orphan->Release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_THAT(capture.Text(),
        ::testing::StartsWith("\r\nAssertion failed in 27to30: Assertion failed: refs>0, file "));
    delete orphan;
    EXPECT_EQ(destroyed, 1);
}

TEST(VMVertexData, NewDataHasNoChannelsAndSlotsOutsideTheTableAreEmpty)
{
    vx::VMRef<vx::VMVertexData> vd = vx::MakeVMRef<vx::VMVertexData>();
    EXPECT_EQ(vd->primitiveType, 0);
    EXPECT_EQ(vd->vertexCount, 0);
    EXPECT_EQ(vd->indexCount, 0);
    EXPECT_EQ(vd->Tag, 0);
    for (int slot = -1; slot <= vx::VMVertexData::NUM_CHANNELS; ++slot)
        EXPECT_FALSE(vd->HasChannel(slot)) << slot;
    vd->channels[vx::VMVertexData::POSITION_CHANNEL].resize(36);
    EXPECT_EQ(vd->ChannelSize(vx::VMVertexData::POSITION_CHANNEL), std::size_t(36));
}

} // namespace
