// Assimp's own test models (the Debian package assimp-testmodels) exported end to end, one vxexport
// run each: every file Assimp reads ends in a design, a design with failures or nothing exported,
// with the reason on stderr, and every database written passes vxinfo check. Files that write
// their transparency inverted export opaque; files with only cameras or lights export nothing.
// Skipped where the models are not installed ($VX_ASSIMP_MODELS names another folder).

#include "EndToEndSupport.h"
#include "VxexportProcess.h"
#include "VxinfoCheck.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace vxtest {
namespace {

namespace fs = std::filesystem;

constexpr int kExported = 0;
constexpr int kFinishedWithFailures = 1;
constexpr int kNothingExported = 3;
constexpr int kSceneNotLoaded = 6;

// The extensions vxexport imports through Assimp.
const char* const kExtensions[] = {".fbx", ".gltf", ".glb", ".obj", ".dae", ".3ds"};

// Files Assimp itself does not read, named by the end of their path in the models' folder: broken
// on purpose, or in a form this Assimp lacks. Their run ends with exit code 6 and Assimp's message.
const char* const kUnreadable[] = {
    "invalid/empty.3ds",
    "invalid/empty.obj",
    "invalid/malformed.obj",
    "Collada/cube_UTF16LE.dae", // UTF-16 XML
    "Collada/library_animation_clips.dae", // a colour in a float element
    "FBX/transparentTest.fbx", // a block offset out of range
    "OBJ/box_UTF16BE.obj",
    "OBJ/point_cloud.obj", // points only: Assimp's validation wants faces
    "glTF/BoxTextured-glTF-Binary/BoxTextured.glb", // glTF 1.0 binary
    "glTF2/BoxWithInfinites-glTF-Binary/BoxWithInfinites.glb", // every vertex dropped as invalid
    "glTF2/IndexOutOfRange/AllIndicesOutOfRange.gltf",
    "glTF2/MissingBin/BoxTextured.gltf",
    "glTF2/RecursiveNodes/RecursiveNodes.gltf",
    "glTF2/SchemaFailures/sceneWrongType.gltf",
    "glTF2/TestNoRootNode/NoScene.gltf",
    "texcoord_crash.gltf", // TEXCOORD_1 without TEXCOORD_0
    "glTF2/wrongTypes/badArray.gltf",
    "glTF2/wrongTypes/badExtension.gltf",
    "glTF2/wrongTypes/badNumber.gltf",
    "glTF2/wrongTypes/badObject.gltf",
    "glTF2/wrongTypes/badString.gltf",
    "glTF2/wrongTypes/badUint.gltf",
};

// Larger files are left out to keep the run short. None of Assimp 5.2's models is that large: the
// largest is under 2 MB, and the whole folder exports in seconds.
constexpr std::uintmax_t kMaxFileBytes = 8u << 20;

// The models' folder: $VX_ASSIMP_MODELS, else where Debian installs them; empty when none exists.
fs::path FindModels()
{
    std::vector<fs::path> candidates;
    if (const char* given = std::getenv("VX_ASSIMP_MODELS"))
        candidates.push_back(given);
    candidates.insert(candidates.end(), {"/usr/share/assimp/models", "/usr/share/assimp-testmodels"});
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (fs::is_directory(candidate, error))
            return candidate;
    }
    return {};
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

bool IsUnreadable(const std::string& name)
{
    return std::any_of(std::begin(kUnreadable), std::end(kUnreadable),
        [&](const char* tail) { return EndsWith(name, tail); });
}

class AssimpCorpus : public testing::Test {
protected:
    void SetUp() override
    {
        models_ = FindModels();
        if (models_.empty())
            GTEST_SKIP() << "Assimp's test models are not installed (package assimp-testmodels)";
    }

    // The files vxexport imports, by their path in the models' folder, in order.
    std::vector<std::string> ListModels() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(models_)) {
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(),
                [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (entry.is_regular_file() && entry.file_size() <= kMaxFileBytes
                && std::find(std::begin(kExtensions), std::end(kExtensions), extension)
                    != std::end(kExtensions))
                names.push_back(fs::relative(entry.path(), models_).generic_string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // The path of the model at name (its path in the models' folder).
    std::string Model(const std::string& name) const { return (models_ / name).string(); }
    // Whether this version of the package has all the models named.
    bool HasModels(std::initializer_list<const char*> names) const
    {
        return std::all_of(
            names.begin(), names.end(), [&](const char* name) { return fs::exists(models_ / name); });
    }
    std::string Target() const { return dir.File("design.vx"); }

    fs::path models_;
    TempDir dir;
};

TEST_F(AssimpCorpus, EveryFileExportsOrSaysWhyNot)
{
    const std::vector<std::string> names = ListModels();
    ASSERT_GT(names.size(), 50u) << "too few models found in " << models_;
    std::map<int, int> exitCodes;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const ProcessResult run = RunVxexport({"--yes", Model(name), Target()});
        ++exitCodes[run.exitCode];
        if (IsUnreadable(name)) {
            EXPECT_EQ(run.exitCode, kSceneNotLoaded) << run.err;
            EXPECT_NE(run.err.find("vxexport: the scene could not be loaded: " + Model(name) + ": "),
                std::string::npos)
                << run.err;
        } else if (run.exitCode == kExported) {
            EXPECT_TRUE(fs::exists(Target())) << run.err;
        } else {
            EXPECT_TRUE(run.exitCode == kFinishedWithFailures || run.exitCode == kNothingExported)
                << "exit code " << run.exitCode << ", signal " << run.signal << ": " << run.err;
            EXPECT_NE(run.err.find("vxexport: "), std::string::npos) << "no reason given";
        }
        if (fs::exists(Target()))
            ExpectSoundDatabase(Target());
        fs::remove(Target());
        fs::remove(Target() + ".log");
    }
    std::cout << names.size() << " models:";
    for (const auto& [code, count] : exitCodes)
        std::cout << " " << count << " with exit code " << code << ";";
    std::cout << "\n";
}

// Their materials state transparency 0 (the FBX COLLADA exporter, Blender's Illusoft exporter),
// which read by COLLADA's default A_ONE mode leaves every piece invisible.
TEST_F(AssimpCorpus, TransparencyWrittenInvertedExportsOpaque)
{
    if (!HasModels({"Collada/teapots.DAE", "Collada/earthCylindrical.DAE", "Collada/regr01.dae"}))
        GTEST_SKIP() << "this version of the models lacks the COLLADA files";
    struct Case {
        const char* name;
        int pieces;
    } cases[] = {{"Collada/teapots.DAE", 3}, {"Collada/earthCylindrical.DAE", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProcessResult run = RunVxexport({"--yes", Model(c.name), Target()});
        ASSERT_EQ(run.exitCode, kExported) << run.err;
        // What the importer assumed reaches the user of vxexport.
        EXPECT_NE(run.err.find("vximport: note: " + Model(c.name) + ": opacity 0 read as opaque: "),
            std::string::npos)
            << run.err;
        ExportedDatabase db(Target());
        ASSERT_TRUE(db.IsOpen());
        ASSERT_GE(db.Integer("SELECT count(*) FROM Geometries"), 1);
        const std::string model = db.Text("SELECT group_concat(model) FROM Geometries");
        EXPECT_EQ(CountOf(model, "<Subset "), c.pieces) << model.substr(0, 2000);
        EXPECT_EQ(model.find("TransparentObjects"), std::string::npos) << "every piece is opaque";
    }

    // In a file read inverted, glass stated as transparency 0.4 is 60 % opaque, and the walls
    // around it (transparency 0) are there too.
    const ProcessResult run = RunVxexport({"--yes", Model("Collada/regr01.dae"), Target()});
    ASSERT_EQ(run.exitCode, kExported) << run.err;
    ExportedDatabase db(Target());
    ASSERT_TRUE(db.IsOpen());
    const std::string model = db.Text("SELECT group_concat(model) FROM Geometries");
    EXPECT_EQ(CountOf(model, "effect='TransparentObjects'"), 1) << model.substr(0, 2000);
    EXPECT_NE(model.find("<Float name='Alpha'>0.6</Float>"), std::string::npos) << model.substr(0, 2000);
    EXPECT_GT(CountOf(model, "<Subset "), 1);

    // The importer says what it assumed.
    const ProcessResult import = RunProgram((fs::path(VxexportPath()).parent_path() / "vximport").string(),
        {Model("Collada/teapots.DAE"), dir.File("scene.json"), dir.File("images")});
    EXPECT_EQ(import.exitCode, 0) << import.err;
    EXPECT_NE(
        import.err.find("vximport: note: " + Model("Collada/teapots.DAE") + ": opacity 0 read as opaque: "),
        std::string::npos)
        << import.err;
}

TEST_F(AssimpCorpus, CamerasOrLightsWithoutMeshesExportNothing)
{
    for (const char* name : {"Collada/cameras.dae", "Collada/lights.dae"}) {
        SCOPED_TRACE(name);
        if (!HasModels({name}))
            continue;
        const ProcessResult run = RunVxexport({"--yes", Model(name), Target()});
        EXPECT_EQ(run.exitCode, kNothingExported) << run.err;
        EXPECT_NE(run.err.find("No valid objects"), std::string::npos) << run.err;
    }
}

} // namespace
} // namespace vxtest
