// The animation blob and the animation data property: the bytes of a small case worked out by hand,
// the blob's name, and the Files rows and properties written for instances (read back with SQLite).

#include "AnimationTestSupport.h"

#include "animation/AnimationBlobName.h"
#include "animation/WriteAnimationData.h"
#include "database/SqlWriter.h"
#include "design/CompositeObject.h"
#include "design/ObjectInstance.h"
#include "design/PropertyKey.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace vxtest {
namespace {

// Linear position keys at frames 0 and 30 in the default scene range (frames 0 to 100 of 160 ticks).
const char* kSlidingNode = R"({"name": "%s", "animation": {"position": {"type": "linear",
    "keys": [{"time": 0, "value": [1, 2, 3]}, {"time": 30, "value": [4, 5, 6]}]}}})";

std::string SlidingNode(const std::string& name)
{
    std::string text = kSlidingNode;
    text.replace(text.find("%s"), 2, name);
    return text;
}

// Its blob, little-endian: version 1, kind -1, range 0..16000 ticks; position interpolation 1 and
// two keys, (0 ms, 1.0f, 3.0f, 2.0f) and (1000 ms, 4.0f, 6.0f, 5.0f); rotation interpolation 1
// without keys; no scale keys.
const char* kSlidingBlob = "01000000FFFFFFFF00000000803E0000" // version, kind, range
                           "0100000002000000" // position interpolation, count
                           "00000000"
                           "0000803F"
                           "00004040"
                           "00000040" // 0 ms, 1, 3, 2
                           "E8030000"
                           "00008040"
                           "0000C040"
                           "0000A040" // 1000 ms, 4, 6, 5
                           "0100000000000000" // rotation interpolation, count
                           "00000000"; // scale count

class AnimationData : public AnimatedSceneFixture {
protected:
    // The rows of sql, each column as UTF-8 text.
    std::vector<std::vector<std::string>> Rows(const std::string& sql)
    {
        sqlite3* db = nullptr;
        std::vector<std::vector<std::string>> rows;
        if (sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK)
                while (sqlite3_step(statement) == SQLITE_ROW) {
                    std::vector<std::string> row;
                    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
                        row.emplace_back(text ? text : "");
                    }
                    rows.push_back(std::move(row));
                }
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
        return rows;
    }

    TempDir dir_;
    std::string path_ = dir_.File("design.vx");
};

std::string Hex(const std::vector<unsigned char>& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

TEST_F(AnimationData, SmallKeyedAnimationSerialisesLittleEndianAsWorkedOut)
{
    Load(AnimatedScene(R"("nodes": [)" + SlidingNode("n") + "]"));
    vx::AnimationBuilder& result = Build();
    ASSERT_EQ(result.Serialise(), 68u);
    EXPECT_EQ(Hex(result.GetBlob()), kSlidingBlob);
    // The CRC-32 of these bytes, worked out apart from the exporter.
    EXPECT_EQ(vx::AnimationBlobName(result.GetBlob(), result.GetKind()), "0x5A8A07D9.keys");
}

TEST(AnimationBlobName, TakesTheExtensionOfTheKind)
{
    const std::vector<unsigned char> blob {'a', 'b', 'c'};
    // CRC-32 of "abc" is 0x352441C2.
    EXPECT_EQ(vx::AnimationBlobName(blob, vx::kAnimationKeys), "0x352441C2.keys");
    EXPECT_EQ(vx::AnimationBlobName(blob, vx::kAnimationPath), "0x352441C2.path");
    EXPECT_EQ(vx::AnimationBlobName(blob, vx::kAnimationMorph), "0x352441C2.morph");
    EXPECT_EQ(vx::AnimationBlobName(blob, vx::kAnimationBones), "0x352441C2.bones");
    EXPECT_EQ(vx::AnimationBlobName(blob, 0), "");
    EXPECT_EQ(vx::AnimationBlobName({}, vx::kAnimationKeys), "0x00000000.keys");
}

TEST_F(AnimationData, EqualAnimationsAreStoredUnderOneNameOncePerInstance)
{
    Load(AnimatedScene(
        R"("nodes": [)" + SlidingNode("a") + ", " + SlidingNode("b") + R"(, {"name": "still"}])"));
    ZR::CompositeObject shared;
    const ZR::PropertyKey key = ZR::MakePropertyKey("AnimationData", 4096);
    shared.data.properties.SetText(key, "earlier.keys");
    ZR::CompositeObject fresh;
    ZR::ObjectInstance first;
    first.object = &shared;
    ZR::ObjectInstance second;
    second.object = &fresh;
    ZR::ObjectInstance still;
    std::string names[3];
    {
        vx::SqlWriter writer(path_);
        names[0] = vx::WriteAnimationData(first, *scene->GetNodeByName("a"), Context(), &writer);
        names[1] = vx::WriteAnimationData(second, *scene->GetNodeByName("b"), Context(), &writer);
        names[2] = vx::WriteAnimationData(still, *scene->GetNodeByName("still"), Context(), &writer);
        ASSERT_TRUE(writer.Close().Succeeded());
    }
    EXPECT_EQ(names[0], "0x5A8A07D9.keys");
    EXPECT_EQ(names[1], names[0]);
    EXPECT_EQ(names[2], "");
    EXPECT_EQ(*first.properties.FindText(key), names[0]);
    EXPECT_EQ(*second.properties.FindText(key), names[0]);
    EXPECT_EQ(still.properties.FindText(key), nullptr);
    // The placed object keeps an entry it had; one without gets the name.
    EXPECT_EQ(*shared.data.properties.FindText(key), "earlier.keys");
    EXPECT_EQ(*fresh.data.properties.FindText(key), names[0]);

    const auto rows = Rows("SELECT geometry_luid, filename, hex(data) FROM Files ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows) {
        EXPECT_EQ(row[0], "0");
        EXPECT_EQ(row[1], names[0]);
        EXPECT_EQ(row[2], kSlidingBlob);
    }
}

TEST_F(AnimationData, WithoutAWriterNothingIsNamed)
{
    Load(AnimatedScene(R"("nodes": [)" + SlidingNode("a") + "]"));
    ZR::ObjectInstance instance;
    EXPECT_EQ(vx::WriteAnimationData(instance, *scene->GetNodeByName("a"), Context(), nullptr), "");
    EXPECT_TRUE(instance.properties.Texts.IsEmpty());
}

} // namespace
} // namespace vxtest
