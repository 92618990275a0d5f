#include "base/Paths.h"

#include "base/DFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

TEST(Paths, ExtensionAndTitle)
{
    const struct {
        const char* path;
        const char* extension;
        const char* title;
    } cases[] = {
        {"archive.tar.gz", ".gz", "archive.tar"},
        {"c:\\out\\archive.tar.gz", ".gz", "archive.tar"},
        {"/home/u/plan.final.vx", ".vx", "plan.final"},
        {"name.", "", "name."},
        {".cfg", "", ".cfg"},
        {"dir\\.cfg", ".cfg", ""},
        {"dir/.cfg", ".cfg", ""},
        {"a.b/file", "", "file"},
        {"file", "", "file"},
        {"dir/", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(vx::GetExtension(c.path), c.extension) << c.path;
        EXPECT_EQ(vx::GetFileTitle(c.path), c.title) << c.path;
    }
    const char* path = "x/y.txt";
    EXPECT_EQ(vx::GetExtension(path), path + 3);
}

TEST(Paths, DirectoryAndFileNameSplitAtTheLaterSeparator)
{
    const struct {
        const char* path;
        const char* directory;
        const char* name;
    } cases[] = {
        {"c:/a\\b/file", "c:/a\\b/", "file"},
        {"c:\\a/b\\file.txt", "c:\\a/b\\", "file.txt"},
        {"/x/y/", "/x/y/", ""},
        {"file", "", "file"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vx::GetDirectory(c.path), c.directory) << c.path;
        EXPECT_STREQ(vx::GetFileName(c.path), c.name) << c.path;
    }
    const char* path = "a/b/c";
    EXPECT_EQ(vx::GetFileName(path), path + 4);
    EXPECT_EQ(vx::GetFileName(nullptr), nullptr);
}

TEST(Paths, LongPathsAreNeverCut)
{
    const std::string directory = "/" + std::string(300, 'd') + "/" + std::string(200, 'e') + "/";
    const std::string title(280, 't');
    const std::string path = directory + title + ".png";
    EXPECT_EQ(vx::GetDirectory(path.c_str()), directory);
    EXPECT_EQ(vx::GetFileTitle(path.c_str()), title);
    std::string folder = directory.substr(0, directory.size() - 1);
    vx::MakeDirectoryPath(folder);
    EXPECT_EQ(folder, directory);
}

TEST(Paths, IsRelativePath)
{
    const struct {
        const char* path;
        bool relative;
    } cases[] = {
        {"maps/brick.png", true},
        {"brick.png", true},
        {"", true},
        {"/abs/brick.png", false},
        {"\\maps\\x", false},
        {"c:\\maps\\x", false},
        {"c:x", false},
        {"a/b:c", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vx::IsRelativePath(c.path), c.relative) << c.path;
}

TEST(Paths, MakeDirectoryPathUsesForwardSlashes)
{
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"/maps", "/maps/"},
        {"/maps/", "/maps/"},
        {"scenes\\png\\", "scenes/png/"},
        {"c:\\maps\\sub", "c:/maps/sub/"},
        {"/", "/"},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        vx::MakeDirectoryPath(path);
        EXPECT_EQ(path, c.expected) << c.path;
    }
}

TEST(Paths, FileExistsWhenTheFileCanBeOpenedForReading)
{
    vxtest::TempDir dir;
    const std::string file = dir.File("present.txt");
    std::ofstream(file) << "x";
    EXPECT_TRUE(vx::FileExists(file.c_str()));
    EXPECT_FALSE(vx::FileExists(dir.File("absent.txt").c_str()));
    EXPECT_FALSE(vx::FileExists(dir.Path().string().c_str()));
    EXPECT_FALSE(vx::FileExists(nullptr));

    vx::DFile holder;
    ASSERT_TRUE(holder.CreateNew(file.c_str(), true));
    EXPECT_FALSE(vx::FileExists(file.c_str()));
    holder.Close();
    EXPECT_TRUE(vx::FileExists(file.c_str()));
}

} // namespace
