#include "design/CompositeObject.h"
#include "design/DbGuid.h"
#include "design/Group.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DbGuid, IsInDBOnlyOnceTheWriterSetsARowIdentifier)
{
    ZR::CompositeObject co;
    EXPECT_EQ(co.guid.dbid, -1);
    EXPECT_FALSE(co.IsInDB());
    co.guid.dbid = 1;
    EXPECT_TRUE(co.IsInDB());
    EXPECT_TRUE(co.guid.IsInDB());
    co.guid.dbid = 0;
    EXPECT_TRUE(co.IsInDB());
}

TEST(DbGuid, NewRecordsGetFreshIdentifiersUnlessTheCreatorPassesOne)
{
    ZR::CompositeObject a;
    ZR::CompositeObject b;
    EXPECT_TRUE(a.guid.IsValid());
    EXPECT_FALSE(a.guid.Equals(b.guid));
    EXPECT_TRUE(a.name.IsEmpty());

    const vx::DUniqueID given = vx::DUniqueID::NewSequential();
    ZR::Group gr(given);
    EXPECT_TRUE(gr.guid.Equals(given));
    EXPECT_FALSE(gr.IsInDB());
}

// The derivation texts are part of the file format: the identifiers must be byte-exact.
TEST(NameDerivedIdentifiers, AreByteExact)
{
    EXPECT_STREQ(
        ZR::CompositeObjectGuidByName("Wall").ToString().c_str(), "d7e3718d-6157-6c6c-7374-72756374205a");
    EXPECT_TRUE(ZR::CompositeObjectGuidByName("Wall").Equals(
        vx::DUniqueID::FromName("Wallstruct ZR::CompositeObject")));
    EXPECT_STREQ(ZR::GroupGuid("Plan", "System").ToString().c_str(), "e9227ebc-6c50-6e61-5379-7374656d7374");
    EXPECT_TRUE(
        ZR::GroupGuid("Plan", "System").Equals(vx::DUniqueID::FromName("PlanSystemstruct ZR::Group")));
    // A null text counts as empty.
    EXPECT_TRUE(ZR::CompositeObjectGuidByName(nullptr).Equals(ZR::CompositeObjectGuidByName("")));
    EXPECT_TRUE(ZR::GroupGuid(nullptr, nullptr).Equals(vx::DUniqueID::FromName("struct ZR::Group")));
}

// Names past 255 bytes are not cut before the derivation: names that differ only late still give
// different identifiers.
TEST(NameDerivedIdentifiers, UseLongNamesWhole)
{
    const std::string stem(300, 'n');
    const std::string a = stem + "A";
    const std::string b = stem + "B";
    EXPECT_FALSE(ZR::CompositeObjectGuidByName(a.c_str()).Equals(ZR::CompositeObjectGuidByName(b.c_str())));
    EXPECT_TRUE(ZR::CompositeObjectGuidByName(a.c_str()).Equals(
        vx::DUniqueID::FromName((a + "struct ZR::CompositeObject").c_str())));
    EXPECT_FALSE(ZR::GroupGuid(a.c_str(), "System").Equals(ZR::GroupGuid(b.c_str(), "System")));
    EXPECT_FALSE(
        ZR::GroupGuid("Plan", (stem + "x").c_str()).Equals(ZR::GroupGuid("Plan", (stem + "y").c_str())));
}

} // namespace
