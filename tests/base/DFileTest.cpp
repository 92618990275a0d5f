#include "base/DFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using vx::DFile;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class DFileTest : public ::testing::Test {
protected:
    vxtest::TempDir dir;
    std::string path = dir.File("file.log");
};

TEST_F(DFileTest, WriteLineWritesTheTextBytesAndTheLineEnd)
{
    const struct {
        const char* text;
        bool carriageReturn;
        std::string bytes;
    } cases[] = {
        {"A", true, "A\r\n"},
        {"A", false, "A\n"},
        {nullptr, true, "\r\n"},
        {"", false, "\n"},
        {"caf\xC3\xA9\t\x01", true, "caf\xC3\xA9\t\x01\r\n"},
    };
    for (const auto& c : cases) {
        DFile file;
        ASSERT_TRUE(file.CreateNew(path.c_str(), true));
        EXPECT_EQ(file.WriteLine(c.text, c.carriageReturn), c.bytes.size());
        EXPECT_EQ(file.GetSize(), static_cast<int64_t>(c.bytes.size()));
        file.Close();
        EXPECT_EQ(ReadAll(path), c.bytes);
    }
}

TEST_F(DFileTest, CreateNewEmptiesAnExistingFile)
{
    WriteAll(path, "old content that is long");
    DFile file;
    ASSERT_TRUE(file.CreateNew(path.c_str(), true));
    file.WriteLine("new", true);
    file.Close();
    EXPECT_EQ(ReadAll(path), "new\r\n");
}

TEST_F(DFileTest, CreateNewReplacesALinkInsteadOfWritingThroughIt)
{
    // A log path that is a symbolic link to a precious file, or to a file that does not exist.
    const std::string precious = dir.File("precious.txt");
    WriteAll(precious, "keep me");
    for (const std::string& pointed : {precious, dir.File("missing.txt")}) {
        const std::string path = dir.File("plan.vx.log");
        std::filesystem::remove(path);
        std::filesystem::create_symlink(pointed, path);
        DFile file;
        ASSERT_TRUE(file.CreateNew(path.c_str()));
        file.WriteLine("log line", true);
        file.Close();
        EXPECT_FALSE(std::filesystem::is_symlink(path)) << pointed;
        EXPECT_EQ(ReadAll(path), "log line\r\n");
        EXPECT_EQ(ReadAll(precious), "keep me");
        EXPECT_FALSE(std::filesystem::exists(dir.File("missing.txt")));
    }
}

TEST_F(DFileTest, ACreatedFileIsHeldExclusivelyWhileOpen)
{
    DFile log;
    ASSERT_TRUE(log.CreateNew(path.c_str(), true));
    log.WriteLine("first", true);

    DFile reader;
    EXPECT_FALSE(reader.OpenRead(path.c_str()));
    EXPECT_FALSE(reader.IsOpen());
    DFile writer;
    EXPECT_FALSE(writer.CreateNew(path.c_str(), true));
    EXPECT_EQ(ReadAll(path), "first\r\n") << "a refused CreateNew must not empty the file";

    log.Close();
    EXPECT_TRUE(reader.OpenRead(path.c_str()));
}

TEST_F(DFileTest, ReadersShareButKeepCreatorsOut)
{
    WriteAll(path, "data");
    DFile first;
    DFile second;
    ASSERT_TRUE(first.OpenRead(path.c_str()));
    EXPECT_TRUE(second.OpenRead(path.c_str(), true));
    DFile creator;
    EXPECT_FALSE(creator.CreateNew(path.c_str(), true));
    EXPECT_EQ(ReadAll(path), "data");
}

TEST_F(DFileTest, OpeningAgainReleasesTheFileHeldBefore)
{
    const std::string other = dir.File("other.txt");
    WriteAll(other, "x");
    DFile file;
    ASSERT_TRUE(file.CreateNew(path.c_str(), true));
    ASSERT_TRUE(file.OpenRead(other.c_str()));
    DFile reader;
    EXPECT_TRUE(reader.OpenRead(path.c_str()));
}

TEST_F(DFileTest, ReadReturnsWholeElements)
{
    WriteAll(path, "0123456789");
    DFile file;
    ASSERT_TRUE(file.OpenRead(path.c_str()));
    EXPECT_EQ(file.GetSize(), 10);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 4, 3), 2u);
    EXPECT_EQ(std::string(buffer, 10), "0123456789");
    EXPECT_EQ(file.Read(buffer, 1, 4), 0u);
    EXPECT_EQ(file.WriteLine("no write access", true), 0u);
}

TEST_F(DFileTest, FailuresLeaveTheFileClosed)
{
    DFile file;
    EXPECT_FALSE(file.OpenRead(dir.File("missing").c_str()));
    EXPECT_FALSE(file.OpenRead(dir.Path().string().c_str()));
    EXPECT_FALSE(file.CreateNew(dir.Path().string().c_str()));
    EXPECT_FALSE(file.CreateNew(dir.File("no/such/folder.log").c_str()));
    EXPECT_FALSE(file.OpenRead(nullptr));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetSize(), 0);
    EXPECT_EQ(file.WriteLine("x", true), 0u);
    EXPECT_TRUE(file.Close());
}

TEST_F(DFileTest, CreatedWithoutWriteAccessWritesNothing)
{
    DFile file;
    ASSERT_TRUE(file.CreateNew(path.c_str(), false));
    EXPECT_EQ(file.WriteLine("x", true), 0u);
    file.Close();
    EXPECT_EQ(ReadAll(path), "");
}

} // namespace
