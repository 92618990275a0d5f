// The names of stage textures in the model description: the image file found for a texture, the
// log line of a substitute, and each image stored once per path.

#include "SqliteReader.h"

#include "database/SqlWriter.h"
#include "database/TextureName.h"

#include "base/Crc32.h"
#include "base/UniqueId.h"
#include "database/ModelDescription.h"
#include "support/DebugCapture.h"
#include "support/DesignWriteRun.h"
#include "support/TempDir.h"
#include "toolkit/VMTexture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vx {
namespace {

using Strings = std::vector<std::string>;

std::string Hex(const std::string& bytes)
{
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes)
        text += {digits[c >> 4], digits[c & 15]};
    return text;
}

std::string IdText(const std::string& bytes)
{
    const uint32_t crc = Crc32(bytes.data(), bytes.size());
    return DUniqueID::FromName(FixedString::FromHex32(crc).c_str()).ToString().c_str();
}

class TextureNames : public testing::Test {
protected:
    TextureNames() { run.texturePlaces.sceneFilePath = dir.File("scene/house.max"); }

    std::string Make(const std::string& relative, const std::string& bytes)
    {
        const std::filesystem::path path = dir.Path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    static VMRef<VMTexture> Texture(const char* name, const std::string& path)
    {
        VMRef<VMTexture> texture = MakeVMRef<VMTexture>();
        texture->name = name;
        texture->FileName = path;
        return texture;
    }
    // The log lines of the run so far, each ended as the log ends it.
    std::string LogText()
    {
        std::string text;
        for (const std::string& line : run.report.logLines)
            text += line + "\r\n";
        return text;
    }
    Strings Rows()
    {
        return vxtest::Column(
            writer.GetDatabase().Handle(), "SELECT name || ' ' || hex(data) FROM Textures ORDER BY luid;");
    }

    vxtest::TempDir dir;
    SqlWriter writer {dir.File("plan.vx")};
    vxtest::DesignWriteRun run {writer};
};

TEST_F(TextureNames, TgaImageIsStoredFromItsPngCopyAndTheLogSaysSo)
{
    const std::string png = Make("scene/png/wood.png", "png bytes");
    Make("scene/wood.png", "other png bytes");
    VMRef<VMTexture> wood = Texture("wood.tga", "c:\\maps\\wood.tga");
    EXPECT_EQ(StoreTexture(run.write, *wood), IdText("png bytes"));
    EXPECT_EQ(wood->FileName, png);
    EXPECT_EQ(Rows(), Strings {"wood " + Hex("png bytes")});
    EXPECT_EQ(LogText(), "Using texture '" + png + "' instead of 'c:\\maps\\wood.tga'\r\n");
}

TEST_F(TextureNames, ImageGoneFromItsPathIsFoundInTheSecondMapDirectory)
{
    run.texturePlaces.mapDirectories = {dir.File("maps1"), dir.File("maps2")};
    Make("maps1/other.jpg", "x");
    const std::string found = Make("maps2/brick.jpg", "brick bytes");
    const std::string recorded = dir.File("old/brick.jpg");
    VMRef<VMTexture> brick = Texture("brick.jpg", recorded);
    EXPECT_EQ(StoreTexture(run.write, *brick), IdText("brick bytes"));
    EXPECT_EQ(brick->FileName, found);
    EXPECT_EQ(LogText(), "Using texture '" + found + "' instead of '" + recorded + "'\r\n");
}

TEST_F(TextureNames, ImageIsSearchedOncePerRunForEachNameAndPath)
{
    run.texturePlaces.mapDirectories = {dir.File("maps1"), dir.File("maps2")};
    const std::string first = Make("maps2/brick.jpg", "brick bytes");
    const std::string recorded = dir.File("old/brick.jpg");
    VMRef<VMTexture> brick = Texture("brick.jpg", recorded);
    EXPECT_EQ(StoreTexture(run.write, *brick), IdText("brick bytes"));
    // A file that appears during the run does not change what the run found.
    Make("maps1/brick.jpg", "newer bytes");
    VMRef<VMTexture> again = Texture("brick.jpg", recorded);
    EXPECT_EQ(StoreTexture(run.write, *again), IdText("brick bytes"));
    EXPECT_EQ(again->FileName, first);
    const std::string line = "Using texture '" + first + "' instead of '" + recorded + "'\r\n";
    EXPECT_EQ(LogText(), line + line);

    // The next run searches afresh.
    vxtest::DesignWriteRun nextRun {writer};
    nextRun.texturePlaces = run.texturePlaces;
    VMRef<VMTexture> later = Texture("brick.jpg", recorded);
    EXPECT_EQ(StoreTexture(nextRun.write, *later), IdText("newer bytes"));
    EXPECT_EQ(later->FileName, dir.File("maps1/brick.jpg"));
}

TEST_F(TextureNames, ImageAtItsPathIsStoredOncePerPathWithoutLogLine)
{
    const std::string path = Make("maps/stone.png", "stone bytes");
    VMRef<VMTexture> stone = Texture("stone.png", path);
    VMRef<VMTexture> again = Texture("stone.png", path);
    EXPECT_EQ(StoreTexture(run.write, *stone), IdText("stone bytes"));
    // The second texture of the path reuses the stored name: the file is not read again.
    std::filesystem::remove(path);
    Make("maps/stone.png", "changed");
    EXPECT_EQ(StoreTexture(run.write, *again), IdText("stone bytes"));
    EXPECT_EQ(Rows(), Strings {"stone " + Hex("stone bytes")});
    EXPECT_EQ(LogText(), "");
}

TEST_F(TextureNames, MissingImageIsNamedByItsTitleOrLeftOutWhenMissingTexturesAreDropped)
{
    vxtest::DebugCapture debug;
    const std::string recorded = dir.File("old/brick.jpg");
    VMRef<VMTexture> brick = Texture("brick.jpg", recorded);
    EXPECT_EQ(StoreTexture(run.write, *brick), "brick");
    EXPECT_EQ(brick->FileName, recorded);
    run.options.keepMissingTextures = false;
    VMRef<VMTexture> gone = Texture("gone.jpg", dir.File("old/gone.jpg"));
    EXPECT_EQ(StoreTexture(run.write, *gone), "");
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(LogText(), "Texture file not found: " + recorded + "\r\n");
}

TEST_F(TextureNames, ABareImageNameIsNeverReadFromTheWorkingDirectory)
{
    // The host held the pixels of an image whose file is gone: only its name is left. An unrelated
    // file of that name in the working directory must not be stored.
    Make("cwd/diffuse.png", "unrelated bytes");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path() / "cwd");
    VMRef<VMTexture> diffuse = Texture("diffuse.png", "diffuse.png");
    const std::string name = StoreTexture(run.write, *diffuse);
    std::filesystem::current_path(before);
    EXPECT_EQ(name, "diffuse");
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(LogText(), "Texture file not found: diffuse.png\r\n");
}

TEST_F(TextureNames, ARenderedTextureIsNotStoredAndOutsideADatabaseKeepsItsName)
{
    VMRef<VMTexture> rendered = Texture("Checker", "");
    EXPECT_EQ(StoreTexture(run.write, *rendered), ""); // its image exists only in memory
    EXPECT_EQ(NameTextureAsRecorded(*rendered), "Checker");
    EXPECT_TRUE(Rows().empty());
}

} // namespace
} // namespace vx
