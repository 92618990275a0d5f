// vxlongrun: one exporter object serving many exports in one process, as a host session does. Each
// run exports a generated scene (another seed each time) into the same target; the resident memory
// is sampled after every run. A process-wide state that is not reset between runs shows as a
// failed run or as memory that grows from run to run.
//
// Usage: vxlongrun [--runs N] [--preset NAME] [--keep DIR] [--json]
// Prints the resident memory at the samples, the growth from the end of the first tenth of the runs
// to the last run, and the number of runs that did not succeed. Exits 1 when a run failed, 2 on a
// usage error. It never judges the memory figures: the benchmark reports, a reader compares.

#include "generator/BuildMemoryScene.h"
#include "generator/GeneratedScene.h"
#include "generator/SceneParameters.h"
#include "generator/TextureImage.h"

#include "exporter/VNX30MaxExporter.h"
#include "host/ExportOutcome.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

struct Settings {
    int runs = 500;
    std::string preset = "tiny";
    std::string keep;
    bool json = false;
};

std::optional<Settings> ParseArguments(int argc, char** argv)
{
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--runs" && hasValue)
            settings.runs = std::atoi(argv[++i]);
        else if (arg == "--preset" && hasValue)
            settings.preset = argv[++i];
        else if (arg == "--keep" && hasValue)
            settings.keep = argv[++i];
        else if (arg == "--json")
            settings.json = true;
        else
            return std::nullopt;
    }
    if (settings.runs < 1)
        return std::nullopt;
    return settings;
}

// The current resident memory in MiB (from /proc/self/statm).
double ResidentMb()
{
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    long long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Silences the exporter's console output (the bounds progress) for the run, so that stdout
// carries only the report.
class StdoutToStderr {
public:
    StdoutToStderr()
        : saved_(dup(STDOUT_FILENO))
    {
        std::fflush(stdout);
        dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~StdoutToStderr()
    {
        std::fflush(stdout);
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }

private:
    int saved_;
};

} // namespace

int main(int argc, char** argv)
{
    const std::optional<Settings> settings = ParseArguments(argc, argv);
    const auto parameters = settings ? vx::bench::FindPreset(settings->preset) : std::nullopt;
    if (!settings || !parameters) {
        std::cerr << "usage: vxlongrun [--runs N] [--preset NAME] [--keep DIR] [--json]\n";
        return 2;
    }
    const std::filesystem::path folder = settings->keep.empty()
        ? std::filesystem::temp_directory_path() / ("vxlongrun-" + std::to_string(getpid()))
        : std::filesystem::path(settings->keep);
    std::filesystem::create_directories(folder / "textures");
    const std::string target = (folder / "longrun.vx").string();

    vx::VNX30MaxExporter exporter;
    std::vector<double> resident;
    int failed = 0;
    for (int run = 0; run < settings->runs; ++run) {
        vx::bench::SceneParameters scene = *parameters;
        scene.seed = static_cast<std::uint64_t>(run) + 1;
        const vx::bench::GeneratedScene generated = vx::bench::GenerateScene(scene);
        const std::string textures = (folder / "textures").string();
        vx::bench::WriteTextureImages(generated, textures);
        {
            auto host = vx::bench::BuildMemoryScene(generated, textures, (folder / "longrun.max").string());
            const StdoutToStderr quiet;
            exporter.DoExport(target.c_str(), host.get(), 1);
        }
        const vx::ExportOutcome outcome = vx::MakeOutcomeFromReport(exporter.GetLastReport());
        if (outcome.status != vx::ExportStatus::Succeeded) {
            ++failed;
            std::cerr << "vxlongrun: run " << run + 1 << " did not succeed: " << outcome.detail << "\n";
        }
        resident.push_back(ResidentMb());
    }
    if (settings->keep.empty())
        std::filesystem::remove_all(folder);

    const std::size_t settled = resident.size() / 10;
    const double growth = resident.back() - resident[settled];
    if (settings->json) {
        std::printf("{\"preset\": \"%s\", \"runs\": %d, \"failed\": %d, \"resident_mb_first\": %.1f, "
                    "\"resident_mb_settled\": %.1f, \"resident_mb_last\": %.1f, \"growth_mb\": %.1f}\n",
            settings->preset.c_str(), settings->runs, failed, resident.front(), resident[settled],
            resident.back(), growth);
    } else {
        const std::size_t step = resident.size() > 10 ? resident.size() / 10 : 1;
        for (std::size_t i = 0; i < resident.size(); i += step)
            std::printf("after run %zu: %.1f MiB resident\n", i + 1, resident[i]);
        std::printf("after run %zu: %.1f MiB resident\n", resident.size(), resident.back());
        std::printf("growth from run %zu to run %zu: %+.1f MiB; runs that did not succeed: %d\n", settled + 1,
            resident.size(), growth, failed);
    }
    return failed == 0 ? 0 : 1;
}
