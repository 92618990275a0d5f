// Texture images end to end: vxexport stores each distinct image once as a Textures row, and the
// model descriptions name the rows. Read back with SQLite.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"
#include "VxinfoCheck.h"

#include "base/Crc32.h"
#include "base/FixedString.h"
#include "base/UniqueId.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace vxtest {
namespace {

std::string IdText(const std::string& bytes)
{
    const uint32_t crc = vx::Crc32(bytes.data(), bytes.size());
    return vx::DUniqueID::FromName(vx::FixedString::FromHex32(crc).c_str()).ToString().c_str();
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The texture names of every model description, each once.
std::set<std::string> NamedTextures(const ExportedDatabase& db)
{
    std::istringstream models(db.Text("SELECT group_concat(model, '') FROM Geometries"));
    const std::string text = models.str();
    const std::regex element("<Texture name='Texture[0-9]+@Name'>([^<]*)</Texture>");
    std::set<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), element); it != std::sregex_iterator();
         ++it)
        names.insert((*it)[1].str());
    return names;
}

// The identifier text of every Textures row, each with its row name and bytes checked by the caller.
int64_t RowsWithContent(const ExportedDatabase& db, const std::string& bytes)
{
    int64_t rows = 0;
    const int64_t count = db.Integer("SELECT count(*) FROM Textures");
    for (int64_t i = 0; i < count; ++i)
        rows += db.Text("SELECT data FROM Textures ORDER BY luid LIMIT 1 OFFSET " + std::to_string(i))
            == bytes;
    return rows;
}

std::filesystem::path SourceDir()
{
    const char* dir = std::getenv("VX_SOURCE_DIR");
    return dir ? dir : ".";
}

TEST(TextureExport, HouseExampleStoresItsTileImageOnceUnderTheNameTheModelsUse)
{
    TempDir dir;
    const std::string target = dir.File("house.vx");
    const ProcessResult result
        = RunVxexport({"--yes", (SourceDir() / "examples" / "house" / "house.json").string(), target});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ExportedDatabase db(target);
    ExpectSoundDatabase(target);
    ASSERT_TRUE(db.IsOpen());
    const std::string tiles = ReadBytes(SourceDir() / "examples" / "house" / "floor-tiles.png");
    EXPECT_EQ(db.Integer("SELECT count(*) FROM Textures"), 1);
    EXPECT_EQ(db.Text("SELECT name FROM Textures"), "floor-tiles");
    EXPECT_EQ(db.Text("SELECT data FROM Textures"), tiles);
    EXPECT_EQ(NamedTextures(db), std::set<std::string> {IdText(tiles)});
}

TEST(TextureExport, EachDistinctImageIsOneRowWhateverItsNameAndPlace)
{
    TempDir dir;
    const auto write = [&](const std::string& relative, const std::string& bytes) {
        const std::filesystem::path path = dir.Path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    };
    write("chair/diffuse.png", "chair image");
    write("table/diffuse.png", "table image");
    write("copy/Diffuse.PNG", "chair image");
    write("png/wood.png", "wood image");
    WriteTextFile(dir.File("scene.json"), MakeSceneText(R"("sceneFile": "scene.max",
      "textures": [{"id": "chair", "file": "chair/diffuse.png"}, {"id": "table", "file": "table/diffuse.png"},
                   {"id": "copy", "file": "copy/Diffuse.PNG"}, {"id": "wood", "file": "c:\\maps\\wood.tga"}],
      "materials": [{"id": "m1", "maps": [{"channel": 1, "texture": "chair"}]},
                    {"id": "m2", "maps": [{"channel": 1, "texture": "table"}]},
                    {"id": "m3", "diffuse": [0.1, 0.2, 0.3], "maps": [{"channel": 1, "texture": "copy", "amount": 0.5}]},
                    {"id": "m4", "maps": [{"channel": 1, "texture": "wood"}]}],
      "objects": [{"id": "tri", "type": "mesh", "mesh": {"vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]]}}],
      "nodes": [{"name": "A", "object": "tri", "material": "m1"}, {"name": "B", "object": "tri", "material": "m2"},
                {"name": "C", "object": "tri", "material": "m3"}, {"name": "D", "object": "tri", "material": "m4"}])"));
    const std::string target = dir.File("plant.vx");
    const ProcessResult result = RunVxexport({"--yes", dir.File("scene.json"), target});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    ExportedDatabase db(target);
    ExpectSoundDatabase(target);
    ASSERT_TRUE(db.IsOpen());
    EXPECT_EQ(db.Integer("SELECT count(*) FROM Textures"), 3);
    for (const char* bytes : {"chair image", "table image", "wood image"})
        EXPECT_EQ(RowsWithContent(db, bytes), 1) << bytes;
    EXPECT_EQ(NamedTextures(db),
        (std::set<std::string> {IdText("chair image"), IdText("table image"), IdText("wood image")}));
    const std::string log = ReadTextFile(target + ".log");
    EXPECT_NE(
        log.find("Using texture '" + dir.File("png/wood.png") + "' instead of 'c:\\maps\\wood.tga'\r\n"),
        std::string::npos)
        << log;
}

TEST(TextureExport, AnImageFileNamedOnlyByItsExtensionIsStoredUnderThatName)
{
    // ".png" has no title: the row takes the file name instead of an empty one, which the table
    // refuses, and the export goes through whole.
    TempDir dir;
    std::ofstream(dir.Path() / ".png", std::ios::binary) << "dot image";
    WriteTextFile(dir.File("scene.json"), MakeSceneText(R"("textures": [{"id": "dot", "file": ".png"}],
      "materials": [{"id": "m", "maps": [{"channel": 1, "texture": "dot"}]}],
      "objects": [{"id": "tri", "type": "mesh", "mesh": {"vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]]}}],
      "nodes": [{"name": "A", "object": "tri", "material": "m"}])"));
    const std::string target = dir.File("plant.vx");
    const ProcessResult result = RunVxexport({"--yes", dir.File("scene.json"), target});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ExportedDatabase db(target);
    ExpectSoundDatabase(target);
    EXPECT_EQ(db.Text("SELECT name FROM Textures"), ".png");
    EXPECT_EQ(RowsWithContent(db, "dot image"), 1);
    EXPECT_EQ(NamedTextures(db), std::set<std::string> {IdText("dot image")});
}

TEST(TextureExport, ATextureThatIsAFifoOrADeviceIsNotReadAndTheRunGoesOn)
{
    // Opening a FIFO would block the export for good, and /dev/zero would never end.
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe.png").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir.Path() / "zero.png");
    WriteTextFile(dir.File("scene.json"), MakeSceneText(R"("textures": [{"id": "p", "file": "pipe.png"},
        {"id": "z", "file": "zero.png"}],
      "materials": [{"id": "mp", "maps": [{"channel": 1, "texture": "p"}]},
                    {"id": "mz", "maps": [{"channel": 1, "texture": "z"}]}],
      "objects": [{"id": "tri", "type": "mesh", "mesh": {"vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]]}}],
      "nodes": [{"name": "A", "object": "tri", "material": "mp"}, {"name": "B", "object": "tri", "material": "mz"}])"));
    const std::string target = dir.File("plant.vx");
    const ProcessResult result = RunVxexport({"--yes", dir.File("scene.json"), target});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ExportedDatabase db(target);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM Textures"), 0);
    const std::string log = ReadTextFile(target + ".log");
    for (const char* name : {"pipe.png", "zero.png"})
        EXPECT_NE(
            log.find(std::string("Texture file not found: ") + dir.File(name) + " (not a regular file)"),
            std::string::npos)
            << log;
}

} // namespace
} // namespace vxtest
