#pragma once
// One benchmark run: a generated scene exported in memory through the real exporter, its database
// read back, and the same content inserted again as the floor.

#include "generator/SceneParameters.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vx::bench {

struct BenchRunSettings {
    std::string preset;
    SceneParameters parameters;
    int scale = 1;
    bool singleObject = false;
    // The folder for the run's files (must exist); the files are left there.
    std::string folder;
};

struct BenchResult {
    std::string preset;
    std::string mode;
    int scale = 1;
    std::uint64_t nodes = 0;
    std::uint64_t triangles = 0;
    // The exporter's status text and DoExport's result.
    std::string status;
    int exportResult = 0;
    double generateSeconds = 0;
    double seconds = 0;
    // Phases of the export in order, with their seconds, between the boundaries the run reports.
    std::vector<std::pair<std::string, double>> phases;
    double floorSeconds = 0;
    // Processor time (user and system) of the process during the export and during the floor: less
    // sensitive than wall time to other work on a shared machine.
    double cpuSeconds = 0;
    double floorCpuSeconds = 0;
    // Minor page faults of the process during the export and during the floor: each is a page
    // touched for the first time, which costs microseconds on a virtual machine.
    std::uint64_t pageFaults = 0;
    std::uint64_t floorPageFaults = 0;
    std::uint64_t rows = 0;
    std::uint64_t blobBytes = 0;
    std::uint64_t databaseBytes = 0;
    double peakRssMb = 0;
    bool peakRssOfExportOnly = false;

    double Ratio() const { return floorSeconds > 0 ? seconds / floorSeconds : 0; }
};

// Runs settings once. Throws std::runtime_error when the exported database cannot be read back or
// the floor cannot be written.
BenchResult RunBench(const BenchRunSettings& settings);

} // namespace vx::bench
