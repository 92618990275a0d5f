// Group entries of the property dictionary.

#include "SqliteReader.h"

#include "database/GroupWriter.h"
#include "database/SqlWriter.h"

#include "design/CompositeObject.h"
#include "design/Group.h"
#include "support/DebugCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class GroupWriter : public testing::Test {
protected:
    GroupWriter()
    {
        owner.guid.dbid = 5;
        group.name.Assign("Plan");
        group.data.Type.Assign("System");
        group.data.Compo = &owner;
    }
    sqlite3* Db() { return writer.GetDatabase().Handle(); }
    Strings Entries()
    {
        return vxtest::Column(Db(),
            "SELECT d.luid || ' ' || ifnull(d.name, 'NULL') || ' ' || d.type FROM "
            "PropertyDictionary d ORDER BY d.luid;");
    }

    vxtest::TempDir dir;
    vx::SqlWriter writer {dir.File("plan.vx")};
    ZR::CompositeObject owner;
    ZR::Group group;
};

TEST(GroupTypeCode, KnownTypesAreMatchedCaseSensitively)
{
    const std::pair<const char*, int32_t> cases[]
        = {{"Configuration", 640}, {"System", 641}, {"Editgroup", 642}, {"Linkgroup", 643}, {"system", 0},
            {"EditGroup", 0}, {"Room", 0}, {"", 0}, {nullptr, 0}};
    for (const auto& [type, code] : cases)
        EXPECT_EQ(vx::GroupTypeCode(type), code) << (type ? type : "null");
}

TEST_F(GroupWriter, GroupIsOneDictionaryEntryWrittenOnFirstUse)
{
    const int64_t luid = vx::WriteGroup(writer, group);
    EXPECT_GT(luid, 0);
    EXPECT_EQ(group.guid.dbid, luid);
    EXPECT_EQ(vx::WriteGroup(writer, group), luid);

    EXPECT_EQ(Entries(), Strings {std::to_string(luid) + " Plan 641"});
    const auto guids = vxtest::Query(Db(), "SELECT luid, guid FROM Guids;");
    ASSERT_EQ(guids.size(), 1u) << "written once";
    const vx::DUniqueID expected = vx::DUniqueID::FromName("PlanSystem");
    EXPECT_EQ(guids[0][1].bytes, std::string(reinterpret_cast<const char*>(expected.GetData()), 16));
}

TEST_F(GroupWriter, GroupOfAnUnwrittenOwnerIsReportedAndNotWritten)
{
    ZR::CompositeObject unwritten;
    for (ZR::CompositeObject* compo : {&unwritten, static_cast<ZR::CompositeObject*>(nullptr)}) {
        group.data.Compo = compo;
        vxtest::DebugCapture debug;
        EXPECT_EQ(vx::WriteGroup(writer, group), -1);
        EXPECT_NE(debug.Text().find("Assertion failed: gr->data.Compo->IsInDB()"), std::string::npos);
    }
    EXPECT_FALSE(group.IsInDB());
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(vxtest::Column(Db(), "SELECT count(*) FROM Guids;"), Strings {"0"});
}

TEST_F(GroupWriter, RefusedEntryLeavesTheGroupUnwritten)
{
    group.name.Clear();
    vxtest::DebugCapture debug;
    EXPECT_EQ(vx::WriteGroup(writer, group), -1);
    EXPECT_NE(debug.Text().find("NOT NULL constraint failed: PropertyDictionary.name"), std::string::npos);
    EXPECT_FALSE(group.IsInDB());
    EXPECT_TRUE(Entries().empty());
}

} // namespace
