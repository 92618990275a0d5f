#include "vxexport/ExportCommand.h"

#include "vxexport/DebugOutputTarget.h"
#include "vxexport/ExportMemory.h"
#include "vxexport/ImportMemory.h"
#include "vxexport/Interrupt.h"
#include "vxexport/OutcomeReport.h"
#include "vxexport/PluginCatalog.h"
#include "vxexport/SceneSource.h"
#include "vxexport/TerminalLineReader.h"
#include "vxexport/TerminalText.h"
#include "vxexport/TerminalUiDriver.h"

#include "host/ExportOutcome.h"
#include "host/PluginInterface.h"
#include "scenefile/SceneFileWriter.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
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

// Hands the plug-in's debugger output to this program's sink.
void ForwardDebugOutput(const char* text, std::size_t length, void*)
{
    WriteDebugOutput(std::string_view(text, length));
}

struct DeleteSceneExport {
    void operator()(SceneExport* exporter) const { exporter->DeleteThis(); }
};

std::string GetPluginFolder(const CommandLine& line)
{
    return line.pluginFolder.empty() ? GetDefaultPluginFolder() : line.pluginFolder;
}

// The exporter for the target's extension, or null after reporting why there is none.
const PluginExporter* FindExporter(const PluginCatalog& catalog, const CommandLine& line)
{
    if (catalog.GetExporters().empty()) {
        std::cerr << "vxexport: no exporter plug-in found in '" << MakePrintable(GetPluginFolder(line))
                  << "'\n";
        return nullptr;
    }
    const std::string extension = GetTargetExtension(line.target);
    const PluginExporter* entry = catalog.FindByExtension(extension);
    if (!entry)
        std::cerr << "vxexport: no exporter plug-in writes the extension '" << MakePrintable(extension)
                  << "' of the target\n";
    return entry;
}

SceneSourceRequest MakeSceneSourceRequest(const CommandLine& line)
{
    SceneSourceRequest request;
    request.scene = line.scene;
    request.unit = line.unit;
    request.allowOutsideReferences = line.allowOutsideReferences;
    request.importWatch.memoryBytes = line.importMemory.value_or(GetDefaultImportMemoryBytes());
    request.importWatch.cancelRequested = [] { return IsInterruptRequested(); };
    // Images a 3D file embeds must outlive the run when the dumped scene refers to them.
    if (!line.dumpScene.empty()) {
        std::error_code ignored;
        std::filesystem::path images = std::filesystem::absolute(line.dumpScene, ignored);
        images.replace_extension();
        request.imageFolder = images.string() + "-images";
    }
    return request;
}

ExitCode ExportScene(MemoryHost& host, const CommandLine& line, const PluginExporter& plugin)
{
    TerminalUiDriver driver(
        MakeUiSettings(line), std::cerr, [] { return ReadTerminalLine(STDIN_FILENO, GetInterruptWakeFd()); },
        [] { return IsInterruptRequested(); });
    host.SetUiDriver(&driver);

    std::unique_ptr<SceneExport, DeleteSceneExport> exporter(
        static_cast<SceneExport*>(plugin.descriptor->Create(0)));
    if (!exporter) {
        host.SetUiDriver(nullptr);
        std::cerr << "vxexport: the plug-in '" << MakePrintable(plugin.libraryPath) << "' made no exporter\n";
        return ExitCode::RunFailed;
    }
    exporter->SetDebugOutput(&ForwardDebugOutput, nullptr);
    const unsigned int options = (line.optimizeGeometry ? kExportOptionOptimizeGeometry : 0u)
        | (line.animation ? kExportOptionAnimation : 0u);
    const int result = exporter->DoExport(line.target.c_str(), &host, line.suppressPrompts ? 1 : 0, options);
    host.SetUiDriver(nullptr);

    const ExportOutcome outcome = MakeOutcomeFromReport(exporter->GetLastReport());
    OutcomeReportContext context;
    context.promptsSuppressed = line.suppressPrompts;
    context.quiet = line.quiet;
    std::cerr.clear();
    std::cerr << FormatOutcomeReport(outcome, context) << std::flush;
    return GetExitCode(outcome, result);
}

// Whether two paths name one file: the same file when both exist, else the same normalised path.
bool IsSameFile(const std::string& a, const std::string& b)
{
    std::error_code failed;
    if (std::filesystem::exists(a, failed) && std::filesystem::exists(b, failed))
        return std::filesystem::equivalent(a, b, failed);
    const auto normal = [](const std::string& path) {
        std::error_code ignored;
        return std::filesystem::weakly_canonical(std::filesystem::absolute(path, ignored), ignored);
    };
    return normal(a) == normal(b);
}

// What the debug-output file would overwrite: "the scene", "the target" or "the log"; empty when
// it is none of them. Opening it empties it, before anything else runs.
std::string DebugOutputClash(const CommandLine& line)
{
    if (line.debugOutput.empty() || line.debugOutput == "-")
        return {};
    if (!line.scene.empty() && IsSameFile(line.debugOutput, line.scene))
        return "the scene";
    if (!line.target.empty() && IsSameFile(line.debugOutput, line.target))
        return "the target";
    if (!line.target.empty() && IsSameFile(line.debugOutput, line.target + ".log"))
        return "the log";
    return {};
}

} // namespace

ExitCode RunExportCommand(const CommandLine& line)
{
    if (const std::string clash = DebugOutputClash(line); !clash.empty()) {
        std::cerr << "vxexport: the debug output '" << MakePrintable(line.debugOutput) << "' would overwrite "
                  << clash << "; give it a file of its own\n";
        return ExitCode::UsageError;
    }
    DebugOutputTarget debugOutput;
    if (!line.debugOutput.empty() && !debugOutput.Open(line.debugOutput)) {
        std::cerr << "vxexport: cannot write the debug output to '" << MakePrintable(line.debugOutput)
                  << "': " << std::strerror(errno) << "\n";
        return ExitCode::UsageError;
    }

    PluginCatalog catalog;
    const PluginExporter* plugin = nullptr;
    if (!line.target.empty()) {
        catalog.LoadFolder(GetPluginFolder(line), std::cerr);
        plugin = FindExporter(catalog, line);
        if (!plugin)
            return ExitCode::NoExporter;
    }

    // From here on Ctrl-C, SIGTERM and SIGHUP are the host's cancel button: an import is stopped,
    // a load finishes and is dropped, an export is cancelled; each ends with exit code 4.
    InstallInterruptHandler();
    // A reader of stderr that goes away (a closed pipe) must not end the export half-way.
    std::signal(SIGPIPE, SIG_IGN);
    const SceneSource scene = LoadSceneSource(MakeSceneSourceRequest(line));
    if (scene.cancelled || IsInterruptRequested()) {
        std::cerr << "vxexport: cancelled before the export began; nothing was written\n";
        return ExitCode::Cancelled;
    }
    for (const std::string& note : scene.notes)
        std::cerr << MakePrintable(note) << "\n";
    if (!scene.scene) {
        std::cerr << "vxexport: the scene could not be loaded: " << MakePrintable(scene.error) << "\n";
        return ExitCode::SceneNotLoaded;
    }
    if (!line.dumpScene.empty()) {
        if (const auto error = WriteSceneFile(*scene.scene, line.dumpScene)) {
            std::cerr << "vxexport: the scene could not be dumped: " << MakePrintable(error->file) << ": "
                      << MakePrintable(error->message) << "\n";
            return ExitCode::RunFailed;
        }
        if (!plugin)
            return ExitCode::Exported;
    }
    // A scene too large for this machine is refused before any work, not ended by the kernel.
    const std::string shortfall
        = DescribeMemoryShortfall(EstimateExportMemory(*scene.scene), GetAvailableMemoryBytes());
    if (!shortfall.empty()) {
        std::cerr << "vxexport: " << MakePrintable(line.scene) << ": " << shortfall
                  << "; nothing was exported\n";
        return ExitCode::RunFailed;
    }
    return ExportScene(*scene.scene, line, *plugin);
}

ExitCode RunListExportersCommand(const CommandLine& line, std::ostream& out)
{
    PluginCatalog catalog;
    catalog.LoadFolder(GetPluginFolder(line), std::cerr);
    if (catalog.GetExporters().empty()) {
        std::cerr << "vxexport: no exporter plug-in found in '" << MakePrintable(GetPluginFolder(line))
                  << "'\n";
        return ExitCode::NoExporter;
    }
    for (const PluginExporter& entry : catalog.GetExporters()) {
        std::string extensions;
        for (const std::string& ext : entry.extensions)
            extensions += (extensions.empty() ? "" : ",") + ext;
        out << MakePrintable(entry.description) << "\t" << MakePrintable(entry.className) << "\t"
            << MakePrintable(extensions) << "\t" << entry.version << "\t" << MakePrintable(entry.libraryPath)
            << "\n";
    }
    return ExitCode::Exported;
}

} // namespace vx
