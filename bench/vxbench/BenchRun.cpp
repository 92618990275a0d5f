#include "vxbench/BenchRun.h"

#include "vxbench/BenchUiDriver.h"
#include "vxbench/DatabaseContent.h"
#include "vxbench/PeakMemory.h"
#include "vxbench/RunPhaseClock.h"

#include "generator/BuildMemoryScene.h"
#include "generator/GeneratedScene.h"
#include "generator/TextureImage.h"

#include "exporter/VNX30MaxExporter.h"
#include "host/ExportOutcome.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>

namespace vx::bench {

namespace {

double SecondsBetween(BenchClock::time_point from, BenchClock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// The processor time the process has used so far, in seconds.
double ProcessCpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

std::uint64_t ProcessPageFaults()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_minflt);
}

// The run's phases between the boundaries the run reported, from the call of the export to its
// return: settling the options, the scene passes, building the export tree (and opening the log),
// opening the database, the conversion, the writing, the commit (emptying the run's tables,
// committing, stamping and closing the database), releasing the export tree, and what follows
// (the progress bar's end, moving the file into place, the log's last lines). A boundary the run did
// not reach ends its phase where the one before it ended.
std::vector<std::pair<std::string, double>> MakePhases(
    const RunPhaseClock& clock, BenchClock::time_point start, BenchClock::time_point end)
{
    static const std::pair<const char*, RunPhase> kPhases[] = {{"options", RunPhase::Started},
        {"scene_passes", RunPhase::ScenePassesRun}, {"tree", RunPhase::TreeBuilt},
        {"database_open", RunPhase::DatabaseOpened}, {"conversion", RunPhase::Converted},
        {"writing", RunPhase::Written}, {"commit", RunPhase::Committed}, {"release", RunPhase::Released}};
    std::vector<std::pair<std::string, double>> phases;
    BenchClock::time_point from = start;
    for (const auto& [name, boundary] : kPhases) {
        const std::optional<BenchClock::time_point> reached = clock.At(boundary);
        const BenchClock::time_point to = reached ? std::clamp(*reached, from, end) : from;
        phases.emplace_back(name, SecondsBetween(from, to));
        from = to;
    }
    phases.emplace_back("finish", SecondsBetween(from, end));
    return phases;
}

const char* StatusText(ExportStatus status)
{
    switch (status) {
    case ExportStatus::Succeeded:
        return "succeeded";
    case ExportStatus::FinishedWithFailures:
        return "finished with failures";
    case ExportStatus::NoValidObjects:
        return "no valid objects";
    case ExportStatus::TargetInUse:
        return "target in use";
    case ExportStatus::Cancelled:
        return "cancelled";
    case ExportStatus::Failed:
        return "failed";
    default:
        return "not run";
    }
}

// While it lives, what the process writes to its standard output goes to the standard error, so
// that the exporter's own console output cannot mix with the report (a JSON reader needs stdout
// clean).
class StdoutToStderr {
public:
    StdoutToStderr()
    {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        if (saved_ >= 0)
            dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~StdoutToStderr()
    {
        std::fflush(stdout);
        if (saved_ >= 0) {
            dup2(saved_, STDOUT_FILENO);
            close(saved_);
        }
    }
    StdoutToStderr(const StdoutToStderr&) = delete;
    StdoutToStderr& operator=(const StdoutToStderr&) = delete;

private:
    int saved_ = -1;
};

} // namespace

BenchResult RunBench(const BenchRunSettings& settings)
{
    BenchResult result;
    result.preset = settings.preset;
    result.mode = settings.singleObject ? "single" : "per-object";
    result.scale = settings.scale;

    const std::string folder = settings.folder;
    const std::string textures = folder + "/textures";
    std::filesystem::create_directories(textures);
    const std::string target = folder + "/" + settings.preset + ".vx";

    const BenchClock::time_point generateStart = BenchClock::now();
    std::unique_ptr<MemoryHost> host;
    {
        const GeneratedScene scene = GenerateScene(ScaleParameters(settings.parameters, settings.scale));
        result.nodes = scene.nodes.size();
        result.triangles = scene.CountNodeTriangles();
        if (!WriteTextureImages(scene, textures))
            throw std::runtime_error(textures + ": cannot write the texture images");
        host = BuildMemoryScene(scene, textures, folder + "/" + settings.preset + ".max");
    }
    result.generateSeconds = SecondsBetween(generateStart, BenchClock::now());

    BenchUiDriver driver(settings.singleObject);
    host->SetUiDriver(&driver);
    const RunPhaseClock clock;
    result.peakRssOfExportOnly = ResetPeakMemory();
    VNX30MaxExporter exporter;
    // Single-object mode is what a run with suppressed prompts exports; the other mode needs the
    // options dialog, which the driver answers.
    BenchClock::time_point start;
    BenchClock::time_point end;
    {
        const StdoutToStderr redirect;
        const double cpuStart = ProcessCpuSeconds();
        const std::uint64_t faultsStart = ProcessPageFaults();
        start = BenchClock::now();
        result.exportResult = exporter.DoExport(target.c_str(), host.get(), settings.singleObject);
        end = BenchClock::now();
        result.cpuSeconds = ProcessCpuSeconds() - cpuStart;
        result.pageFaults = ProcessPageFaults() - faultsStart;
    }
    result.peakRssMb = GetPeakMemoryMb();
    host->SetUiDriver(nullptr);

    result.seconds = SecondsBetween(start, end);
    result.phases = MakePhases(clock, start, end);
    result.status = StatusText(exporter.LastOutcome().status);
    std::error_code error;
    result.databaseBytes = std::filesystem::file_size(target, error);
    if (error)
        throw std::runtime_error(target + ": the export wrote no database (" + result.status + ")");

    const DatabaseContent content = ReadDatabaseContent(target);
    result.rows = content.CountRows();
    result.blobBytes = content.CountBlobBytes();
    const double floorCpuStart = ProcessCpuSeconds();
    const std::uint64_t floorFaultsStart = ProcessPageFaults();
    result.floorSeconds = InsertDatabaseContent(content, folder + "/floor.db");
    result.floorCpuSeconds = ProcessCpuSeconds() - floorCpuStart;
    result.floorPageFaults = ProcessPageFaults() - floorFaultsStart;
    return result;
}

} // namespace vx::bench
