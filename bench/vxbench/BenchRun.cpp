#include "vxbench/BenchRun.h"

#include "vxbench/DatabaseContent.h"
#include "vxbench/PeakMemory.h"
#include "vxbench/TimingUiDriver.h"

#include "generator/BuildMemoryScene.h"
#include "generator/GeneratedScene.h"
#include "generator/TextureImage.h"

#include "host/ExportOutcome.h"
#include "exporter/ExportTexts.h"
#include "exporter/VNX30MaxExporter.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace vx::bench {

namespace {

double SecondsBetween(BenchClock::time_point from, BenchClock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

BenchClock::time_point FindStart(const TimingUiDriver& driver, std::string_view title, BenchClock::time_point fallback)
{
    for (const auto& [startTitle, when] : driver.Starts())
        if (startTitle == title)
            return when;
    return fallback;
}

// The time point clamped to from..to.
BenchClock::time_point Clamp(BenchClock::time_point when, BenchClock::time_point from, BenchClock::time_point to)
{
    return when < from ? from : (when > to ? to : when);
}

// The run's phases as the host sees them: everything before "Collecting objects..." (options,
// scene passes, export tree, opening the database), the conversion up to "Writing objects...",
// the writing up to its last progress step, the commit and close of the database up to the cancel
// query that follows it, what remains until the progress bar ends, and what follows the bar
// (moving the file into place, the log's last lines).
std::vector<std::pair<std::string, double>> MakePhases(
    const TimingUiDriver& driver, BenchClock::time_point start, BenchClock::time_point end)
{
    const BenchClock::time_point collecting = Clamp(FindStart(driver, kTitleCollecting, start), start, end);
    const BenchClock::time_point writing = Clamp(FindStart(driver, kTitleWriting, collecting), collecting, end);
    const BenchClock::time_point barEnd = Clamp(driver.LastEnd(), writing, end);
    const BenchClock::time_point written = Clamp(driver.LastUpdateBeforeEnd(), writing, barEnd);
    const BenchClock::time_point committed = Clamp(driver.LastCancelQueryBeforeEnd(), written, barEnd);
    return {{"prepare", SecondsBetween(start, collecting)}, {"conversion", SecondsBetween(collecting, writing)},
        {"writing", SecondsBetween(writing, written)}, {"commit", SecondsBetween(written, committed)},
        {"release", SecondsBetween(committed, barEnd)}, {"finish", SecondsBetween(barEnd, end)}};
}

const char* StatusText(ExportStatus status)
{
    switch (status) {
    case ExportStatus::Succeeded: return "succeeded";
    case ExportStatus::FinishedWithFailures: return "finished with failures";
    case ExportStatus::NoValidObjects: return "no valid objects";
    case ExportStatus::TargetInUse: return "target in use";
    case ExportStatus::Cancelled: return "cancelled";
    case ExportStatus::Failed: return "failed";
    default: return "not run";
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

    TimingUiDriver driver(settings.singleObject);
    host->SetUiDriver(&driver);
    result.peakRssOfExportOnly = ResetPeakMemory();
    VNX30MaxExporter exporter;
    // Single-object mode is what a run with suppressed prompts exports; the other mode needs the
    // options dialog, which the driver answers.
    BenchClock::time_point start;
    BenchClock::time_point end;
    {
        const StdoutToStderr redirect;
        start = BenchClock::now();
        result.exportResult = exporter.DoExport(target.c_str(), host.get(), settings.singleObject);
        end = BenchClock::now();
    }
    result.peakRssMb = GetPeakMemoryMb();
    host->SetUiDriver(nullptr);

    result.seconds = SecondsBetween(start, end);
    result.phases = MakePhases(driver, start, end);
    result.status = StatusText(exporter.LastOutcome().status);
    std::error_code error;
    result.databaseBytes = std::filesystem::file_size(target, error);
    if (error)
        throw std::runtime_error(target + ": the export wrote no database (" + result.status + ")");

    const DatabaseContent content = ReadDatabaseContent(target);
    result.rows = content.CountRows();
    result.blobBytes = content.CountBlobBytes();
    result.floorSeconds = InsertDatabaseContent(content, folder + "/floor.db");
    return result;
}

} // namespace vx::bench
