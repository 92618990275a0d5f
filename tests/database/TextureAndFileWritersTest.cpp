// Texture rows stored once per content, and the Files rows of geometry buffers.

#include "SqliteReader.h"

#include "database/FilesEntry.h"
#include "database/SqlWriter.h"
#include "database/TextureWriter.h"

#include "base/Crc32.h"
#include "support/DebugCapture.h"
#include "support/DesignWriteRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// prefix followed by four bytes chosen so that the whole has the CRC-32 target: the last four
// table indices are backed out of the final register, then the bytes that select them are found.
std::string WithCrc(const std::string& prefix, uint32_t target)
{
    uint32_t table[256];
    uint8_t indexOfTop[256];
    for (uint32_t k = 0; k < 256; ++k) {
        uint32_t c = k;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[k] = c;
        indexOfTop[c >> 24] = static_cast<uint8_t>(k);
    }
    uint8_t index[4];
    uint32_t r = ~target;
    for (int i = 3; i >= 0; --i) {
        index[i] = indexOfTop[r >> 24];
        r = (r ^ table[index[i]]) << 8;
    }
    uint32_t reg = ~vx::Crc32(prefix.data(), prefix.size());
    std::string forged = prefix;
    for (uint8_t wanted : index) {
        forged.push_back(static_cast<char>((reg ^ wanted) & 0xFF));
        reg = (reg >> 8) ^ table[wanted];
    }
    return forged;
}

std::string IdText(const std::string& bytes)
{
    const uint32_t crc = vx::Crc32(bytes.data(), bytes.size());
    return vx::DUniqueID::FromName(vx::FixedString::FromHex32(crc).c_str()).ToString().c_str();
}

class TextureAndFileWriters : public testing::Test {
protected:
    std::string MakeFile(const std::string& name, const std::string& bytes)
    {
        const std::string file = dir.File(name);
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    // The log lines of the run so far, each ended as the log ends it.
    std::string LogText()
    {
        std::string text;
        for (const std::string& line : run.report.logLines)
            text += line + "\r\n";
        return text;
    }
    sqlite3* Db() { return writer.GetDatabase().Handle(); }
    Strings TextureRows()
    {
        return vxtest::Column(
            Db(), "SELECT luid || ' ' || name || ' ' || hex(data) FROM Textures ORDER BY luid;");
    }

    vxtest::TempDir dir;
    vx::SqlWriter writer {dir.File("plan.vx")};
    vxtest::DesignWriteRun run {writer};
};

TEST_F(TextureAndFileWriters, SameBytesUnderTwoNamesAreStoredOnceUnderTheFirstName)
{
    const std::string image = "\x89PNG\r\n\x1a\n image";
    const std::string first = vx::WriteTexture(run.write, MakeFile("brick.png", image).c_str());
    const std::string second = vx::WriteTexture(run.write, MakeFile("wall.jpg", image).c_str());

    EXPECT_EQ(first, IdText(image));
    EXPECT_EQ(second, first);
    const auto rows = vxtest::Query(
        Db(), "SELECT t.name, t.data, g.guid FROM Textures t JOIN Guids g ON g.luid = t.luid;");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].bytes, "brick");
    EXPECT_EQ(rows[0][1].bytes, image);
    vx::DUniqueID stored;
    ASSERT_TRUE(stored.FromString(first.c_str()));
    EXPECT_EQ(rows[0][2].bytes, std::string(reinterpret_cast<const char*>(stored.GetData()), 16));
}

TEST_F(TextureAndFileWriters, RowNameFollowsTheExtensionOption)
{
    run.options.textureNamesWithExtension = true;
    const std::string name = vx::WriteTexture(run.write, MakeFile("brick.png", "bytes").c_str());
    EXPECT_EQ(name, IdText("bytes"));
    EXPECT_EQ(vxtest::Column(Db(), "SELECT name FROM Textures;"), Strings {"brick.png"});
}

TEST_F(TextureAndFileWriters, MissingTextureIsLoggedAndNamedByItsFile)
{
    const std::string missing = dir.File("maps/brick.png");
    vxtest::DebugCapture debug;
    EXPECT_EQ(vx::WriteTexture(run.write, missing.c_str()), "brick");
    run.options.textureNamesWithExtension = true;
    EXPECT_EQ(vx::WriteTexture(run.write, missing.c_str()), "brick.png");

    EXPECT_EQ(debug.Text(),
        "**** TEXTURE NOT READABLE ****: " + missing + "\r\n" + "**** TEXTURE NOT READABLE ****: " + missing
            + "\r\n");
    EXPECT_EQ(
        LogText(), "Texture file not found: " + missing + "\r\nTexture file not found: " + missing + "\r\n");
    EXPECT_TRUE(TextureRows().empty());
    EXPECT_EQ(vxtest::Column(Db(), "SELECT count(*) FROM Guids;"), Strings {"0"});
}

TEST_F(TextureAndFileWriters, TextureLargerThanTheDatabaseAcceptsIsNotReadable)
{
    sqlite3_limit(Db(), SQLITE_LIMIT_LENGTH, 64);
    const std::string path = MakeFile("huge.png", std::string(65, 'x'));
    vxtest::DebugCapture debug;
    EXPECT_EQ(vx::WriteTexture(run.write, path.c_str()), "huge");
    EXPECT_EQ(debug.Text(), "**** TEXTURE NOT READABLE ****: " + path + "\r\n");
    EXPECT_EQ(
        LogText(), "Texture file too large: " + path + " (65 bytes; the database takes at most 64)\r\n");
    EXPECT_EQ(vxtest::Column(Db(), "SELECT count(*) FROM Textures;"), Strings {"0"});
}

TEST_F(TextureAndFileWriters, DifferentImagesWithOneCrcNeverShareARow)
{
    const std::string first = "first image";
    const std::string colliding = WithCrc("another image", vx::Crc32(first.data(), first.size()));
    ASSERT_NE(colliding, first);
    ASSERT_EQ(vx::Crc32(colliding.data(), colliding.size()), vx::Crc32(first.data(), first.size()));

    const std::string a = vx::WriteTexture(run.write, MakeFile("a.png", first).c_str());
    const std::string b = vx::WriteTexture(run.write, MakeFile("b.png", colliding).c_str());
    EXPECT_EQ(a, IdText(first)) << "the first content keeps the identifier of its CRC";
    EXPECT_NE(b, a);
    vx::DUniqueID second;
    EXPECT_TRUE(second.FromString(b.c_str()));
    // Each content is found again under its own name.
    EXPECT_EQ(vx::WriteTexture(run.write, MakeFile("c.png", colliding).c_str()), b);
    EXPECT_EQ(vx::WriteTexture(run.write, MakeFile("d.png", first).c_str()), a);

    const auto rows = vxtest::Query(Db(),
        "SELECT t.name, t.data, g.guid FROM Textures t JOIN Guids g ON g.luid = t.luid "
        "ORDER BY t.luid;");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].bytes, "a");
    EXPECT_EQ(rows[0][1].bytes, first);
    EXPECT_EQ(rows[1][0].bytes, "b");
    EXPECT_EQ(rows[1][1].bytes, colliding);
    EXPECT_EQ(rows[1][2].bytes, std::string(reinterpret_cast<const char*>(second.GetData()), 16));
}

TEST_F(TextureAndFileWriters, RefusedTextureRowIsNotRememberedAndIsTriedAgain)
{
    const std::string path = MakeFile("brick.png", "image bytes");
    writer.GetDatabase().Exec(
        "CREATE TEMP TRIGGER refuse BEFORE INSERT ON Textures BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    vxtest::DebugCapture debug;
    EXPECT_EQ(vx::WriteTexture(run.write, path.c_str()), "brick") << "no row to name";
    EXPECT_EQ(debug.Text(),
        "SQLITE3 ERROR: {refused} in query {INSERT INTO Textures (luid,name,data) VALUES (?,?,?);}\r\n");
    EXPECT_TRUE(TextureRows().empty());

    writer.GetDatabase().Exec("DROP TRIGGER refuse;");
    EXPECT_EQ(vx::WriteTexture(run.write, path.c_str()), IdText("image bytes"));
    const auto rows = vxtest::Query(Db(), "SELECT name, data FROM Textures;");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].bytes, "brick");
    EXPECT_EQ(rows[0][1].bytes, "image bytes");
}

TEST_F(TextureAndFileWriters, OpenedEntryWritesOneRowWithItsBytes)
{
    const std::string longName = std::string(300, 'n') + ".vtx";
    vx::FilesEntry entry(writer);
    ASSERT_TRUE(entry.Open(longName, 7));
    entry.Write("abc", 3);
    entry.Write("de", 2);
    EXPECT_TRUE(entry.Close());
    EXPECT_FALSE(entry.IsOpen());
    EXPECT_EQ(entry.Size(), 0u);

    vx::FilesEntry animation(writer);
    ASSERT_TRUE(animation.Open("anim.dat", 0));
    EXPECT_TRUE(animation.Close()) << "no bytes: an empty blob";

    {
        // Bytes handed over whole, then more appended; the row must hold them after the entry and
        // its buffers are gone.
        vx::FilesEntry taken(writer);
        ASSERT_TRUE(taken.Open("taken.vtx", 8));
        taken.Write(std::vector<unsigned char> {'f', 'g'});
        taken.Write(std::vector<unsigned char> {'h'});
        taken.Write("i", 1);
        EXPECT_EQ(taken.Size(), 4u);
        EXPECT_TRUE(taken.Close());
    }

    const auto rows
        = vxtest::Query(Db(), "SELECT geometry_luid, filename, data, typeof(data) FROM Files ORDER BY id;");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2][2].bytes, "fghi");
    EXPECT_EQ(rows[0][0].integer, 7);
    EXPECT_EQ(rows[0][1].bytes, longName);
    EXPECT_EQ(rows[0][2].bytes, "abcde");
    EXPECT_EQ(rows[1][0].integer, 0);
    EXPECT_EQ(rows[1][3].bytes, "blob");
}

TEST_F(TextureAndFileWriters, EntryThatIsNotOpenWritesNothing)
{
    vx::FilesEntry never(writer);
    never.Write("abc", 3);
    EXPECT_FALSE(never.Close());

    struct Case {
        std::string name;
        int64_t luid;
    };
    for (const Case& refused : {Case {"", 5}, Case {"x.vtx", -1}}) {
        vx::FilesEntry entry(writer);
        EXPECT_FALSE(entry.Open(refused.name, refused.luid)) << refused.name << " " << refused.luid;
        EXPECT_FALSE(entry.IsOpen());
        entry.Write("abc", 3);
        EXPECT_FALSE(entry.Close());
    }
    EXPECT_EQ(vxtest::Column(Db(), "SELECT count(*) FROM Files;"), Strings {"0"});
}

TEST_F(TextureAndFileWriters, FileTooLargeForTheDatabaseIsReportedAndTheNextOneIsWritten)
{
    sqlite3_limit(Db(), SQLITE_LIMIT_LENGTH, 64);
    vxtest::DebugCapture debug;
    vx::FilesEntry big(writer);
    ASSERT_TRUE(big.Open("big.vtx", 3));
    big.Write(std::string(65, 'b').data(), 65);
    EXPECT_FALSE(big.Close());
    EXPECT_EQ(debug.Text(),
        "SQLITE3 ERROR: {string or blob too big} in query "
        "{INSERT INTO Files (geometry_luid,filename,data) VALUES (?,?,?);}\r\n");

    vx::FilesEntry small(writer);
    ASSERT_TRUE(small.Open("small.idx", 3));
    small.Write("ok", 2);
    EXPECT_TRUE(small.Close());
    sqlite3_limit(Db(), SQLITE_LIMIT_LENGTH, 1000000);
    EXPECT_EQ(
        vxtest::Column(Db(), "SELECT filename || ' ' || hex(data) FROM Files;"), Strings {"small.idx 6F6B"});
}

} // namespace
