#include "vxexport/CommandLine.h"
#include "vxexport/ExitCode.h"
#include "vxexport/ImportMemory.h"
#include "vxexport/TerminalText.h"

#include "exporter/VNX30MaxExporter.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(CommandLine, ReadsOptionsAnywhereBeforeTheEndOfOptions)
{
    const CommandLineParse parse = ParseCommandLine({"--quiet", "scene.json", "--debug-output", "dbg.txt",
        "--yes", "out.vx", "--single-object", "--optimize-geometry", "--animation"});
    ASSERT_EQ(parse.error, "");
    EXPECT_TRUE(parse.line.quiet);
    EXPECT_TRUE(parse.line.optimizeGeometry);
    EXPECT_TRUE(parse.line.animation);
    EXPECT_TRUE(parse.line.suppressPrompts);
    EXPECT_EQ(parse.line.dialogAnswer, DialogAnswer::SingleObject);
    EXPECT_EQ(parse.line.debugOutput, "dbg.txt");
    EXPECT_EQ(parse.line.scene, "scene.json");
    EXPECT_EQ(parse.line.target, "out.vx");

    const CommandLineParse ended = ParseCommandLine({"--debug-output=-", "--", "--yes", "-"});
    ASSERT_EQ(ended.error, "");
    EXPECT_EQ(ended.line.debugOutput, "-");
    EXPECT_FALSE(ended.line.suppressPrompts);
    EXPECT_EQ(ended.line.scene, "--yes");
    EXPECT_EQ(ended.line.target, "-");

    // A repeated option: the last one counts.
    const CommandLineParse repeated
        = ParseCommandLine({"--plugins=p", "a", "b", "--plugins", "q", "-y", "-y"});
    ASSERT_EQ(repeated.error, "");
    EXPECT_EQ(repeated.line.pluginFolder, "q");
}

TEST(CommandLine, RefusesWhatIsNoCommand)
{
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{}, "missing SCENE and TARGET"},
        {{"scene.json"}, "missing TARGET"},
        {{"a", "b", "c"}, "unexpected argument 'c'"},
        {{"a", ""}, "SCENE and TARGET must not be empty"},
        {{"--frobnicate", "a", "b"}, "unknown option '--frobnicate'"},
        {{"a", "b", "--debug-output"}, "--debug-output needs a FILE (\"-\" for stderr)"},
        {{"a", "b", "--debug-output="}, "--debug-output needs a FILE (\"-\" for stderr)"},
        {{"--per-object", "--single-object", "a", "b"},
            "--per-object and --single-object exclude each other"},
        {{"a", "b", "--plugins"}, "--plugins needs a DIR"},
        {{"a", "b", "--plugins="}, "--plugins needs a DIR"},
        // An empty "=" value is refused, not filled with the next argument.
        {{"--plugins=", "a", "b"}, "--plugins needs a DIR"},
        {{"a", "b", "--dump-scene"}, "--dump-scene needs a FILE"},
        {{"--dump-scene", "d.json"}, "missing SCENE and TARGET"},
        {{"--dump-scene", "d.json", ""}, "SCENE must not be empty"},
        {{"--unit", "cubits", "a.obj", "b"},
            "--unit needs a UNIT: inches, feet, miles, millimeters, centimeters, meters or kilometers"},
        {{"a.obj", "b", "--unit"},
            "--unit needs a UNIT: inches, feet, miles, millimeters, centimeters, meters or kilometers"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseCommandLine(c.args).error, c.error) << testing::PrintToString(c.args);

    // A run without prompts always exports one object: asking for more is refused, not ignored.
    EXPECT_NE(ParseCommandLine({"--yes", "--per-object", "a", "b"}).error.find("cannot be used with --yes"),
        std::string::npos);
    EXPECT_EQ(ParseCommandLine({"--yes", "--single-object", "a", "b"}).error, "");
}

TEST(CommandLine, ImportMemoryTakesASizeOrUnlimited)
{
    const struct {
        const char* size;
        std::optional<std::uint64_t> bytes; // nothing: refused
    } cases[] = {
        {"512M", 512ull << 20},
        {"4G", 4ull << 30},
        {"4gib", 4ull << 30},
        {"1536MB", 1536ull << 20},
        {"1T", 1ull << 40},
        {"1048576", 1ull << 20},
        {"unlimited", 0},
        {"0", std::nullopt},
        {"-1G", std::nullopt},
        {"4X", std::nullopt},
        {"G", std::nullopt},
        {"1.5G", std::nullopt},
        {"", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"20000000T", std::nullopt},
    };
    for (const auto& c : cases) {
        const CommandLineParse parse
            = ParseCommandLine({std::string("--import-memory=") + c.size, "a.fbx", "b"});
        EXPECT_EQ(parse.line.importMemory, c.bytes) << c.size;
        EXPECT_EQ(parse.error.empty(), c.bytes.has_value()) << c.size << ": " << parse.error;
    }
    EXPECT_FALSE(ParseCommandLine({"a.fbx", "b"}).line.importMemory); // the default applies
    EXPECT_GE(GetDefaultImportMemoryBytes(), 1ull << 30);
    EXPECT_EQ(FormatMemorySize(256ull << 20), "256 MiB");
    EXPECT_EQ(FormatMemorySize(3ull << 29), "1.5 GiB");
}

TEST(CommandLine, DumpSceneMakesTheTargetOptional)
{
    const CommandLineParse dump
        = ParseCommandLine({"--dump-scene", "d.json", "--unit=centimetres", "room.obj"});
    EXPECT_EQ(dump.error, "");
    EXPECT_EQ(dump.line.dumpScene, "d.json");
    EXPECT_EQ(dump.line.unit, "centimetres");
    EXPECT_EQ(dump.line.scene, "room.obj");
    EXPECT_EQ(dump.line.target, "");
    const CommandLineParse both = ParseCommandLine({"--dump-scene=d.json", "room.obj", "room.vx"});
    EXPECT_EQ(both.error, "");
    EXPECT_EQ(both.line.target, "room.vx");
}

TEST(CommandLine, HelpAndVersionNeedNoFiles)
{
    EXPECT_TRUE(ParseCommandLine({"--help"}).line.help);
    EXPECT_EQ(ParseCommandLine({"--version", "--per-object", "--single-object"}).error, "");
    EXPECT_EQ(ParseCommandLine({"--help", "--bogus"}).error, "unknown option '--bogus'");
    EXPECT_EQ(ParseCommandLine({"--version", "--unit", "cubits"}).error,
        "--unit needs a UNIT: inches, feet, miles, millimeters, centimeters, meters or kilometers");

    const CommandLineParse list = ParseCommandLine({"--list-exporters", "--plugins", "plug"});
    ASSERT_EQ(list.error, "");
    EXPECT_TRUE(list.line.listExporters);
    EXPECT_EQ(list.line.pluginFolder, "plug");
    EXPECT_EQ(ParseCommandLine({"--plugins=p", "a", "b"}).line.pluginFolder, "p");
}

TEST(ExitCode, FollowsTheOutcomeAndTheStrongerResult)
{
    struct Case {
        ExportStatus status;
        int result;
        ExitCode code;
    };
    const Case cases[] = {
        {ExportStatus::Succeeded, kExportResultDone, ExitCode::Exported},
        {ExportStatus::FinishedWithFailures, kExportResultDone, ExitCode::FinishedWithFailures},
        {ExportStatus::NoValidObjects, kExportResultDone, ExitCode::NothingExported},
        {ExportStatus::TargetInUse, kExportResultDone, ExitCode::NothingExported},
        {ExportStatus::Cancelled, kExportResultDone, ExitCode::Cancelled},
        {ExportStatus::Cancelled, kExportResultCancelled, ExitCode::Cancelled},
        {ExportStatus::Failed, kExportResultDone, ExitCode::RunFailed},
        {ExportStatus::Failed, kExportResultException, ExitCode::RunFailed},
        {ExportStatus::Succeeded, kExportResultException, ExitCode::RunFailed},
        {ExportStatus::NotRun, kExportResultDone, ExitCode::RunFailed},
    };
    for (const Case& c : cases) {
        ExportOutcome outcome;
        outcome.status = c.status;
        EXPECT_EQ(GetExitCode(outcome, c.result), c.code) << static_cast<int>(c.status) << " " << c.result;
    }
}

TEST(TerminalText, KeepsLineBreaksAndNothingThatDrivesTheTerminal)
{
    EXPECT_EQ(
        MakePrintable("Done.\r\n\r\nLog file written to: a b\tc"), "Done.\n\nLog file written to: a b\tc");
    EXPECT_EQ(MakePrintable("wall\x1b[2J\r\x07\x7f"
                            "\xc3\xa9"),
        "wall?[2J\n??\xc3\xa9");
    EXPECT_EQ(FormatMessageBox("Error", "File is in use by another process."),
        "Error: File is in use by another process.\n");
}

} // namespace
} // namespace vx
