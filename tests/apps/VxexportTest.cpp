// vxexport as a user runs it: a separate process on scene files in a temporary folder, the
// database read back with SQLite.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"
#include "VxinfoCheck.h"
#include "base/AddressSanitizer.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace vxtest {
namespace {

namespace fs = std::filesystem;

constexpr int kExported = 0;
constexpr int kUsageError = 2;
constexpr int kNothingExported = 3;
constexpr int kSceneNotLoaded = 6;
constexpr int kNoExporter = 7;

class Vxexport : public testing::Test {
protected:
    std::string Scene(const std::string& text = MakeSceneText())
    {
        const std::string path = dir.File("scene.json");
        WriteTextFile(path, text);
        return path;
    }
    std::string Target() const { return dir.File("out.vx"); }
    std::string Log() const { return Target() + ".log"; }
    // The folder's entries other than the given ones: what a run left behind.
    std::vector<std::string> Leftovers(std::initializer_list<std::string> expected) const
    {
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end())
                left.push_back(name);
        }
        return left;
    }

    TempDir dir;
};

TEST_F(Vxexport, UsageErrorsTouchNothing)
{
    const std::string scene = Scene();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {scene},
        {"--bogus", scene, Target()},
        {scene, Target(), "extra"},
        {"--per-object", "--single-object", scene, Target()},
        {"--yes", "--per-object", scene, Target()},
        {scene, Target(), "--debug-output"},
        {"--debug-output", dir.File("no/such/folder/debug.txt"), scene, Target()},
    };
    for (const auto& args : cases) {
        const ProcessResult run = RunVxexport(args);
        EXPECT_EQ(run.exitCode, kUsageError) << testing::PrintToString(args) << "\n" << run.err;
        EXPECT_NE(run.err.find("vxexport: "), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(Leftovers({"scene.json"}), std::vector<std::string>());
}

TEST_F(Vxexport, HelpListsTheExitCodesAndVersionIsOneLine)
{
    const ProcessResult help = RunVxexport({"--help"});
    EXPECT_EQ(help.exitCode, kExported);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: vxexport [options] SCENE TARGET.vx\n", 0), 0u);
    for (const char* text :
        {"--yes", "--per-object", "--single-object", "--debug-output FILE", "--quiet", "TARGET.vx.log",
            "  0  the export went through", "  1  ", "  2  usage error", "  3  nothing exported",
            "  4  cancelled", "  5  the run failed", "  6  the scene file could not be loaded",
            "--plugins DIR", "--list-exporters", "  7  no exporter plug-in"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;

    const ProcessResult version = RunVxexport({"--version"});
    EXPECT_EQ(version.exitCode, kExported);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("vxexport [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
}

TEST_F(Vxexport, ASceneThatDoesNotLoadLeavesThePreviousTarget)
{
    WriteTextFile(Target(), "previous design");
    const std::string scene = Scene("{\"format\": \"varnex-scene\",\n  \"version\": 1,, }");
    const ProcessResult broken = RunVxexport({"--yes", scene, Target()});
    EXPECT_EQ(broken.exitCode, kSceneNotLoaded);
    // The loader's own text: the file, then line and column.
    EXPECT_NE(broken.err.find("vxexport: the scene could not be loaded: " + scene + ":2:"), std::string::npos)
        << broken.err;

    const ProcessResult missing = RunVxexport({"--yes", dir.File("missing.json"), Target()});
    EXPECT_EQ(missing.exitCode, kSceneNotLoaded);
    EXPECT_NE(missing.err.find(dir.File("missing.json")), std::string::npos) << missing.err;

    EXPECT_EQ(ReadTextFile(Target()), "previous design");
    EXPECT_EQ(Leftovers({"scene.json", "out.vx"}), std::vector<std::string>());
}

TEST_F(Vxexport, AnEmptySceneSaysNothingWasFoundAndKeepsThePreviousTarget)
{
    for (const bool previous : {false, true}) {
        SCOPED_TRACE(previous ? "with a previous target" : "without a target");
        const std::string before = "an earlier design";
        if (previous)
            WriteTextFile(Target(), before);
        const ProcessResult run = RunVxexport({"--yes", Scene(), Target()});
        EXPECT_EQ(run.exitCode, kNothingExported) << run.err;
        EXPECT_EQ(run.out, "");
        // No message box; the front end's summary names the reason and the log.
        EXPECT_EQ(
            run.err, "vxexport: nothing exported: No valid objects have been found. (log: " + Log() + ")\n");

        const std::string log = ReadTextFile(Log());
        EXPECT_NE(log.find("Export as single object: yes\r\n"), std::string::npos) << log;
        EXPECT_NE(log.find("The target file was not replaced.\r\nNo valid objects have been found.\r\n"),
            std::string::npos)
            << log;
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), std::count(log.begin(), log.end(), '\r'));

        // Nothing was exported, so nothing replaces (or becomes) the target.
        EXPECT_EQ(fs::exists(Target()), previous);
        if (previous) {
            EXPECT_EQ(ReadTextFile(Target()), before);
        }
        EXPECT_EQ(Leftovers({"scene.json", "out.vx", "out.vx.log"}), std::vector<std::string>());
    }
}

TEST_F(Vxexport, ATargetNamedOnlyByItsExtensionIsExported)
{
    // A file named ".vx" has the extension "vx" as the exporter sees it; its design is unnamed.
    const std::string scene = Scene(MakeSceneText(R"("objects": [{"id": "tri", "type": "mesh", "mesh": {
        "vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]]}}], "nodes": [{"name": "A", "object": "tri"}])"));
    const std::string target = dir.File(".vx");
    const ProcessResult run = RunVxexport({"--yes", scene, target});
    ASSERT_EQ(run.exitCode, kExported) << run.err;
    ExportedDatabase db(target);
    EXPECT_EQ(db.Text("SELECT name FROM CompositeObjects WHERE luid = (SELECT object_luid FROM Roots)"),
        "- no name -");
    // A name without an extension, or ending in a dot, names no exporter.
    for (const char* name : {"plain", "ends."})
        EXPECT_EQ(RunVxexport({"--yes", scene, dir.File(name)}).exitCode, kNoExporter) << name;
}

TEST_F(Vxexport, ALogThatIsALinkIsReplacedNeverWrittenThrough)
{
    const std::string precious = dir.File("precious.txt");
    WriteTextFile(precious, "keep me");
    fs::create_symlink(precious, Log());
    const ProcessResult run = RunVxexport({"--yes", Scene(), Target()});
    EXPECT_EQ(run.exitCode, kNothingExported) << run.err;
    EXPECT_EQ(ReadTextFile(precious), "keep me");
    EXPECT_FALSE(fs::is_symlink(Log()));
    EXPECT_NE(ReadTextFile(Log()).find("No valid objects have been found."), std::string::npos);
}

TEST_F(Vxexport, TheDebugOutputMayNotOverwriteTheSceneTheTargetOrTheLog)
{
    const std::string scene = Scene();
    const std::string sceneText = ReadTextFile(scene);
    WriteTextFile(Target(), "previous");
    for (const std::string& clash : {scene, dir.File("./scene.json"), Target(), Log()}) {
        SCOPED_TRACE(clash);
        const ProcessResult run = RunVxexport({"--yes", "--debug-output", clash, scene, Target()});
        EXPECT_EQ(run.exitCode, kUsageError);
        EXPECT_NE(run.err.find("would overwrite"), std::string::npos) << run.err;
        EXPECT_EQ(ReadTextFile(scene), sceneText);
        EXPECT_EQ(ReadTextFile(Target()), "previous");
    }
}

// A scene whose export would not fit in the memory this process may take is refused before any
// work, with what it needs, instead of failing half-way or meeting the kernel's out-of-memory
// killer. One mesh of a million triangles (an export needs about 330 MiB), run with 250 MiB of
// address space.
TEST_F(Vxexport, ASceneTooLargeForTheMemoryIsRefusedBeforeTheExport)
{
#if VX_ADDRESS_SANITIZER
    GTEST_SKIP() << "an AddressSanitizer build cannot run under an address-space limit";
#endif
    const int side = 708; // side x side quads, two triangles each
    std::string bin;
    const auto add
        = [&bin](const auto value) { bin.append(reinterpret_cast<const char*>(&value), sizeof(value)); };
    for (int j = 0; j <= side; ++j)
        for (int i = 0; i <= side; ++i)
            for (float coordinate : {float(i), float(j), 0.0f})
                add(coordinate);
    const size_t faceOffset = bin.size();
    for (std::uint32_t j = 0; j < side; ++j)
        for (std::uint32_t i = 0; i < side; ++i) {
            const std::uint32_t a = j * (side + 1) + i, b = a + side + 1;
            for (std::uint32_t index : {a, a + 1, b + 1, a, b + 1, b})
                add(index);
        }
    WriteTextFile(dir.File("grid.bin"), bin);
    const std::string scene
        = Scene(R"({"format": "varnex-scene", "version": 1, "buffers": [{"uri": "grid.bin"}],
        "objects": [{"id": "g", "type": "mesh", "mesh": {
            "vertices": {"buffer": 0, "count": )"
            + std::to_string((side + 1) * (side + 1)) + R"(, "type": "f32x3"},
            "faces": {"buffer": 0, "offset": )"
            + std::to_string(faceOffset) + R"(, "count": )" + std::to_string(2 * side * side)
            + R"(, "type": "u32x3"}}}],
        "nodes": [{"name": "Grid", "object": "g"}]})");
    WriteTextFile(Target(), "previous design");
    const ProcessResult run = RunProgram("/bin/sh",
        {"-c", "ulimit -v 256000 && exec \"$0\" \"$@\"", VxexportPath(), "--yes", scene, Target()});
    EXPECT_EQ(run.exitCode, 5) << run.err;
    const std::regex refusal("vxexport: " + scene
        + ": the export needs about [0-9.]+ MiB of memory for 1,002,528 triangles, and [0-9.]+ "
          "(MiB|KiB|bytes) are "
          "available; nothing was exported\n");
    EXPECT_TRUE(std::regex_search(run.err, refusal)) << run.err;
    EXPECT_EQ(ReadTextFile(Target()), "previous design");
}

TEST_F(Vxexport, ADirectoryInPlaceOfTheTargetIsInUse)
{
    fs::create_directory(Target());
    WriteTextFile(Target() + "/keep.txt", "kept");
    const ProcessResult run = RunVxexport({"--yes", Scene(), Target()});
    EXPECT_EQ(run.exitCode, kNothingExported) << run.err;
    // The message keeps its words and adds the system's reason, on stderr and in the log.
    EXPECT_NE(run.err.find("nothing exported: File is in use by another process. (the target is a folder)"),
        std::string::npos)
        << run.err;
    const std::string log = ReadTextFile(Log());
    EXPECT_NE(log.find("File is in use by another process.\r\nReason: the target is a folder\r\n"),
        std::string::npos)
        << log;
    EXPECT_EQ(ReadTextFile(Target() + "/keep.txt"), "kept");

    // With prompts the same reason is a message box on stderr, and the log holds no such line.
    fs::remove(Log());
    const ProcessResult boxed = RunVxexport({"--single-object", Scene(), Target()});
    EXPECT_EQ(boxed.exitCode, kNothingExported);
    EXPECT_NE(boxed.err.find("Error: File is in use by another process.\n"), std::string::npos) << boxed.err;
    EXPECT_NE(boxed.err.find("vxexport: the target is a folder\n"), std::string::npos) << boxed.err;
    EXPECT_EQ(ReadTextFile(Log()).find("File is in use"), std::string::npos);
    EXPECT_NE(ReadTextFile(Log()).find("Reason: the target is a folder"), std::string::npos);
}

TEST_F(Vxexport, WithoutATerminalTheDialogTakesItsDefaultsOrTheGivenAnswer)
{
    const std::string scene = Scene();
    // stdin is a file: no prompt; the dialog is answered with OK and the box as it is (ticked).
    const ProcessResult defaults = RunVxexport({scene, Target()}, "2\n");
    EXPECT_EQ(defaults.exitCode, kNothingExported);
    EXPECT_NE(
        defaults.err.find("Varnex Export Options: [x] Export as single object -> OK\n"), std::string::npos)
        << defaults.err;
    EXPECT_EQ(defaults.err.find("Choose"), std::string::npos);
    // Boxes reach stderr, their line breaks as newlines.
    EXPECT_NE(defaults.err.find("Error: No valid objects have been found.\n"), std::string::npos);
    EXPECT_NE(ReadTextFile(Log()).find("Export as single object: yes\r\n"), std::string::npos);

    const ProcessResult perObject = RunVxexport({"--per-object", scene, Target()});
    EXPECT_EQ(perObject.exitCode, kNothingExported);
    EXPECT_NE(
        perObject.err.find("Varnex Export Options: [ ] Export as single object -> OK\n"), std::string::npos);
    EXPECT_NE(ReadTextFile(Log()).find("Export as single object: no\r\n"), std::string::npos);

    // Quiet: errors only.
    const ProcessResult quiet = RunVxexport({"--quiet", "--per-object", scene, Target()});
    EXPECT_EQ(quiet.exitCode, kNothingExported);
    EXPECT_EQ(quiet.err, "Error: No valid objects have been found.\n");
}

TEST_F(Vxexport, TheDebugOutputGoesToTheGivenFile)
{
    const std::string debug = dir.File("debug.txt");
    WriteTextFile(debug, "old diagnostics");
    const ProcessResult run = RunVxexport({"--yes", "--debug-output", debug, Scene(), Target()});
    EXPECT_EQ(run.exitCode, kNothingExported);
    EXPECT_TRUE(fs::exists(debug));
    EXPECT_EQ(ReadTextFile(debug).find("old diagnostics"), std::string::npos);
}

} // namespace
} // namespace vxtest
