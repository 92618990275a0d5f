// vxbench: exports generated scenes in memory through the exporter and compares the time with the
// floor, the same rows inserted by a minimal SQLite program.
// Usage: vxbench [--preset NAME]... [--mode single|per-object|both] [--scale K]... [--seed N]
//                [--keep DIR] [--json]

#include "vxbench/BenchReport.h"
#include "vxbench/BenchRun.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage
    = "usage: vxbench [--preset tiny|small|city]... [--mode single|per-object|both] [--scale K]...\n"
      "               [--seed N] [--keep DIR] [--json]\n"
      "Runs every preset at every scale in every mode. Defaults: --preset tiny --mode per-object\n"
      "--scale 1. With --json one run prints one JSON object, several runs a JSON array of them.\n";

struct Options {
    std::vector<std::string> presets;
    std::vector<bool> singleObjectModes;
    std::vector<int> scales;
    std::optional<unsigned long long> seed;
    std::string keep;
    bool json = false;
};

bool ReadWholeNumber(const std::string& text, unsigned long long& value)
{
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 10);
    return !text.empty() && text[0] != '-' && end && *end == '\0';
}

// The options of argv, or nullopt after printing what is wrong.
std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    std::string mode = "per-object";
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        unsigned long long number = 0;
        if (option == "--help" || option == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (option == "--json") {
            options.json = true;
        } else if (option == "--preset" && hasValue && vx::bench::FindPreset(argv[i + 1])) {
            options.presets.emplace_back(argv[++i]);
        } else if (option == "--mode" && hasValue) {
            mode = argv[++i];
            if (mode != "single" && mode != "per-object" && mode != "both") {
                std::cerr << "vxbench: unknown mode '" << mode << "'\n" << kUsage;
                return std::nullopt;
            }
        } else if (option == "--scale" && hasValue && ReadWholeNumber(argv[i + 1], number) && number >= 1
            && number <= 1000) {
            options.scales.push_back(static_cast<int>(number));
            ++i;
        } else if (option == "--seed" && hasValue && ReadWholeNumber(argv[i + 1], number)) {
            options.seed = number;
            ++i;
        } else if (option == "--keep" && hasValue) {
            options.keep = argv[++i];
        } else {
            std::cerr << "vxbench: bad option '" << option << "'\n" << kUsage;
            return std::nullopt;
        }
    }
    if (options.presets.empty())
        options.presets.emplace_back("tiny");
    if (options.scales.empty())
        options.scales.push_back(1);
    if (mode != "single")
        options.singleObjectModes.push_back(false);
    if (mode != "per-object")
        options.singleObjectModes.push_back(true);
    return options;
}

// A new folder under the system's temporary folder.
std::string MakeRunFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vxbench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

} // namespace

int main(int argc, char** argv)
{
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options)
        return 2;
    try {
        std::vector<std::string> objects;
        for (const std::string& preset : options->presets) {
            for (int scale : options->scales) {
                for (bool singleObject : options->singleObjectModes) {
                    vx::bench::BenchRunSettings settings;
                    settings.preset = preset;
                    settings.parameters = *vx::bench::FindPreset(preset);
                    if (options->seed)
                        settings.parameters.seed = *options->seed;
                    settings.scale = scale;
                    settings.singleObject = singleObject;
                    const bool keep = !options->keep.empty();
                    settings.folder = keep ? options->keep + "/" + preset + "-x" + std::to_string(scale)
                            + (singleObject ? "-single" : "-per-object")
                                           : MakeRunFolder();
                    std::filesystem::create_directories(settings.folder);

                    const vx::bench::BenchResult result = vx::bench::RunBench(settings);
                    if (!keep)
                        std::filesystem::remove_all(settings.folder);
                    if (options->json)
                        objects.push_back(vx::bench::FormatBenchJson(result));
                    else
                        std::cout << vx::bench::FormatBenchText(result) << std::flush;
                }
            }
        }
        if (options->json) {
            if (objects.size() == 1) {
                std::cout << objects.front() << "\n";
            } else {
                std::cout << "[";
                for (size_t i = 0; i < objects.size(); ++i)
                    std::cout << (i ? ",\n" : "") << objects[i];
                std::cout << "]\n";
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "vxbench: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
