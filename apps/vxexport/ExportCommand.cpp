#include "vxexport/ExportCommand.h"

#include "vxexport/DebugOutputTarget.h"
#include "vxexport/Interrupt.h"
#include "vxexport/OutcomeReport.h"
#include "vxexport/TerminalLineReader.h"
#include "vxexport/TerminalText.h"
#include "vxexport/TerminalUiDriver.h"

#include "exporter/VNX30MaxExporter.h"
#include "memoryhost/SceneFileLoader.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <unistd.h>

namespace vx {

namespace {

TerminalUiSettings MakeUiSettings(const CommandLine& line)
{
    TerminalUiSettings settings;
    settings.showProgress = !line.quiet && isatty(STDERR_FILENO) == 1;
    settings.quiet = line.quiet;
    settings.dialogAnswer = line.dialogAnswer;
    // The prompt is shown on stderr: with stderr redirected the user could not see what is asked.
    settings.promptForDialog = isatty(STDIN_FILENO) == 1 && isatty(STDERR_FILENO) == 1;
    return settings;
}

ExitCode ExportScene(MemoryHost& host, const CommandLine& line)
{
    // From here on Ctrl-C is the host's cancel button; before, it simply ends the program.
    InstallInterruptHandler();
    // A reader of stderr that goes away (a closed pipe) must not end the export half-way.
    std::signal(SIGPIPE, SIG_IGN);
    TerminalUiDriver driver(
        MakeUiSettings(line), std::cerr, [] { return ReadTerminalLine(STDIN_FILENO, GetInterruptWakeFd()); },
        [] { return IsInterruptRequested(); });
    host.SetUiDriver(&driver);

    VNX30MaxExporter exporter;
    const int result = exporter.DoExport(line.target.c_str(), &host, line.suppressPrompts);
    host.SetUiDriver(nullptr);

    const ExportOutcome& outcome = exporter.LastOutcome();
    OutcomeReportContext context;
    context.promptsSuppressed = line.suppressPrompts;
    context.quiet = line.quiet;
    std::cerr.clear();
    std::cerr << FormatOutcomeReport(outcome, context) << std::flush;
    return GetExitCode(outcome, result);
}

} // namespace

ExitCode RunExportCommand(const CommandLine& line)
{
    DebugOutputTarget debugOutput;
    if (!line.debugOutput.empty() && !debugOutput.Open(line.debugOutput)) {
        std::cerr << "vxexport: cannot write the debug output to '" << MakePrintable(line.debugOutput)
                  << "': " << std::strerror(errno) << "\n";
        return ExitCode::UsageError;
    }

    SceneLoadResult scene = LoadSceneFile(line.scene);
    if (!scene.scene) {
        const std::string text = scene.error ? scene.error->GetText() : line.scene + ": not loaded";
        std::cerr << "vxexport: the scene could not be loaded: " << MakePrintable(text) << "\n";
        return ExitCode::SceneNotLoaded;
    }
    return ExportScene(*scene.scene, line);
}

} // namespace vx
