// vxexport on a terminal: the progress line, the dialog prompt and Ctrl-C. The program runs with a
// pseudo-terminal; a test that interrupts it stops the terminal's output first, so that the
// program blocks at its first progress drawing, and sends SIGINT only once /proc shows it blocked
// there. No test depends on timing.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace vxtest {
namespace {

constexpr int kNothingExported = 3;
constexpr int kCancelled = 4;
constexpr const char* kPrompt = "(Enter: OK): ";

class VxexportOnTerminal : public testing::Test {
protected:
    void SetUp() override
    {
        WriteTextFile(scene, MakeSceneText());
        WriteTextFile(target, "previous design");
    }

    // Starts an unattended export that blocks at its first progress drawing.
    void StartBlockedInProgress()
    {
        terminal.StopOutput();
        ASSERT_TRUE(terminal.Start({"--yes", scene, target}, false));
        if (!terminal.CanSeeSystemCalls())
            GTEST_SKIP() << "/proc does not show the system call a process is in";
        ASSERT_TRUE(terminal.WaitUntilBlockedWritingStderr());
    }

    TempDir dir;
    const std::string scene = dir.File("scene.json");
    const std::string target = dir.File("out.vx");
    TerminalSession terminal;
};

// Ctrl-C, and SIGTERM and SIGHUP (a shutdown, a closed terminal) the same way.
class VxexportCancelledBySignal : public VxexportOnTerminal, public testing::WithParamInterface<int> { };

TEST_P(VxexportCancelledBySignal, CancelsTheRunAndKeepsThePreviousTarget)
{
    StartBlockedInProgress();
    if (IsSkipped() || HasFatalFailure())
        return;
    terminal.Interrupt(GetParam());
    const ProcessResult run = terminal.Wait();
    EXPECT_EQ(run.exitCode, kCancelled) << run.err;
    // The progress drawing that Ctrl-C interrupted was completed.
    EXPECT_NE(run.err.find("Collecting objects... 0%"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("vxexport: the export was cancelled"), std::string::npos) << run.err;
    EXPECT_NE(ReadTextFile(target + ".log").find("Export was cancelled by user.\r\n"), std::string::npos);
    EXPECT_EQ(ReadTextFile(target), "previous design");
}

INSTANTIATE_TEST_SUITE_P(Signals, VxexportCancelledBySignal, testing::Values(SIGINT, SIGTERM, SIGHUP),
    [](const testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(VxexportOnTerminal, ASecondCtrlCEndsTheProgramAtOnce)
{
    StartBlockedInProgress();
    if (IsSkipped() || HasFatalFailure())
        return;
    terminal.Interrupt();
    ASSERT_TRUE(terminal.WaitUntilInterruptDelivered());
    // The first Ctrl-C was handled; the program is back in a write that blocks.
    ASSERT_TRUE(terminal.WaitUntilBlockedWritingStderr());
    terminal.Interrupt();
    const ProcessResult run = terminal.Wait();
    EXPECT_EQ(run.signal, SIGINT) << "exit code " << run.exitCode << "\n" << run.err;
    EXPECT_EQ(ReadTextFile(target), "previous design");
}

TEST_F(VxexportOnTerminal, ThePromptTogglesTheCheckBoxThenProgressIsShownAndCtrlCCancelsIt)
{
    ASSERT_TRUE(terminal.Start({scene, target}, true));
    ASSERT_TRUE(terminal.WaitForOutput(kPrompt)) << terminal.Output();
    EXPECT_NE(terminal.Output().find("Varnex Export Options"), std::string::npos);
    EXPECT_NE(terminal.Output().find("1  [x] Export as single object"), std::string::npos);
    terminal.Type("1\n");
    ASSERT_TRUE(terminal.WaitForOutput(kPrompt, 2)) << terminal.Output();
    EXPECT_NE(terminal.Output().find("1  [ ] Export as single object"), std::string::npos);
    terminal.Type("\n");
    const ProcessResult run = terminal.Wait();
    EXPECT_EQ(run.exitCode, kNothingExported) << run.err;
    // The progress line is drawn in place and removed before the box is printed.
    EXPECT_NE(run.err.find("\r\x1b[KCollecting objects... 0%"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("\r\x1b[KError: No valid objects have been found."), std::string::npos) << run.err;
    EXPECT_NE(ReadTextFile(target + ".log").find("Export as single object: no\r\n"), std::string::npos);

    // Ctrl-C while the prompt waits: the dialog is cancelled, nothing is written.
    std::filesystem::remove(target + ".log");
    WriteTextFile(target, "previous design");
    TerminalSession second;
    ASSERT_TRUE(second.Start({scene, target}, true));
    ASSERT_TRUE(second.WaitForOutput(kPrompt)) << second.Output();
    second.Interrupt();
    const ProcessResult cancelled = second.Wait();
    EXPECT_EQ(cancelled.exitCode, kCancelled) << cancelled.err;
    EXPECT_FALSE(std::filesystem::exists(target + ".log"));
    EXPECT_EQ(ReadTextFile(target), "previous design");
}

} // namespace
} // namespace vxtest
