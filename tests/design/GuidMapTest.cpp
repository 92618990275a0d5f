#include "design/GuidMap.h"
#include "design/Category.h"

#include "ReportedConditions.h"
#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using Conditions = std::vector<std::string>;

TEST(GuidMap, FindOrCreateMakesTheRecordOnceUnderItsIdentifier)
{
    ZR::GuidMap<ZR::Category> map;
    const vx::DUniqueID id = vx::DUniqueID::NewSequential();
    EXPECT_FALSE(map.In(id));
    const auto first = map.FindOrCreate(id);
    ASSERT_NE(first.record, nullptr);
    EXPECT_TRUE(first.created);
    EXPECT_TRUE(first.record->guid.Equals(id));
    EXPECT_FALSE(first.record->IsInDB());
    const auto second = map.FindOrCreate(id);
    EXPECT_EQ(second.record, first.record);
    EXPECT_FALSE(second.created);
    EXPECT_TRUE(map.In(id));
    EXPECT_EQ(map.Find(id), first.record);
    EXPECT_EQ(map.Count(), 1u);
}

TEST(GuidMap, AddReportsANullRecordAndStoresNothing)
{
    vxtest::DebugCapture capture;
    ZR::GuidMap<ZR::Category> map;
    EXPECT_EQ(map.Add(nullptr, vx::DUniqueID::NewSequential()), nullptr);
    EXPECT_EQ(vxtest::ReportedConditions(capture.Text()), Conditions {"a"});
    EXPECT_TRUE(map.IsEmpty());
}

TEST(GuidMap, AddReportsTheNullIdentifierAndStillInserts)
{
    vxtest::DebugCapture capture;
    ZR::GuidMap<ZR::Category> map;
    const auto made = map.FindOrCreate(vx::DUniqueID::Null);
    EXPECT_EQ(vxtest::ReportedConditions(capture.Text()), Conditions {"guid.IsValid()"});
    EXPECT_TRUE(made.created);
    EXPECT_EQ(map.Find(vx::DUniqueID::Null), made.record);
}

// A second record under a present identifier takes the entry; the displaced record stays alive, so
// a pointer kept to it is still safe to use (the sanitizer run checks it).
TEST(GuidMap, AddReportsAPresentIdentifierAndKeepsTheDisplacedRecordAlive)
{
    vxtest::DebugCapture capture;
    ZR::GuidMap<ZR::Category> map;
    const vx::DUniqueID id = vx::DUniqueID::NewSequential();
    ZR::Category* old = map.FindOrCreate(id).record;
    old->name.Assign("old");
    ZR::Category* fresh = map.Add(std::make_unique<ZR::Category>(id), id);
    EXPECT_EQ(vxtest::ReportedConditions(capture.Text()), Conditions {"!In(guid)"});
    EXPECT_NE(fresh, old);
    EXPECT_EQ(map.Find(id), fresh);
    EXPECT_EQ(map.Count(), 1u);
    EXPECT_STREQ(old->name.c_str(), "old");
}

TEST(GuidMap, WalksEveryRecordOnce)
{
    ZR::GuidMap<ZR::Category> map;
    std::vector<ZR::Category*> made;
    for (int i = 0; i < 300; ++i)
        made.push_back(map.FindOrCreate(vx::DUniqueID::NewSequential()).record);
    std::vector<ZR::Category*> seen;
    for (auto& node : map) {
        EXPECT_TRUE(node.key.Equals(node.value->guid));
        seen.push_back(node.value.get());
    }
    std::sort(made.begin(), made.end());
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, made);
}

} // namespace
