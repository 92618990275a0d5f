#include "vxbench/BenchReport.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace vx::bench {

namespace {

double PerSecond(std::uint64_t count, double seconds)
{
    return seconds > 0 ? static_cast<double>(count) / seconds : 0;
}

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

std::string FormatBenchText(const BenchResult& result)
{
    std::string text = result.preset + " x" + std::to_string(result.scale) + ", " + result.mode + ": "
        + std::to_string(result.nodes) + " nodes, " + std::to_string(result.triangles) + " triangles ("
        + result.status + ")\n";
    text += "  export " + Format("%.3f s", result.seconds) + ", floor "
        + Format("%.3f s", result.floorSeconds) + ", ratio " + Format("%.2f", result.Ratio())
        + "; processor time: export " + Format("%.3f s", result.cpuSeconds) + ", floor "
        + Format("%.3f s", result.floorCpuSeconds) + "; page faults: export "
        + std::to_string(result.pageFaults) + ", floor " + std::to_string(result.floorPageFaults) + "\n";
    text += "  phases:";
    for (const auto& [name, seconds] : result.phases)
        text += " " + name + Format(" %.3f s", seconds);
    text += "\n";
    text += "  " + Format("%.0f triangles/s", PerSecond(result.triangles, result.seconds)) + ", "
        + Format("%.0f rows/s", PerSecond(result.rows, result.seconds)) + " (" + std::to_string(result.rows)
        + " rows, " + Format("%.1f MiB", static_cast<double>(result.blobBytes) / 1048576.0) + " in blobs)\n";
    text += "  database " + Format("%.1f MiB", static_cast<double>(result.databaseBytes) / 1048576.0)
        + ", peak RSS " + Format("%.1f MiB", result.peakRssMb)
        + (result.peakRssOfExportOnly ? " (during the export, scene included)" : " (whole process)") + "\n";
    text += "  scene generated in " + Format("%.3f s", result.generateSeconds) + "\n";
    return text;
}

std::string FormatBenchJson(const BenchResult& result)
{
    nlohmann::ordered_json phases = nlohmann::ordered_json::object();
    for (const auto& [name, seconds] : result.phases)
        phases[name] = seconds;
    const nlohmann::ordered_json json {{"preset", result.preset}, {"mode", result.mode},
        {"seconds", result.seconds}, {"floor_seconds", result.floorSeconds}, {"ratio", result.Ratio()},
        {"peak_rss_mb", result.peakRssMb}, {"phases", phases}, {"scale", result.scale},
        {"status", result.status}, {"nodes", result.nodes}, {"triangles", result.triangles},
        {"triangles_per_second", PerSecond(result.triangles, result.seconds)}, {"rows", result.rows},
        {"rows_per_second", PerSecond(result.rows, result.seconds)}, {"blob_bytes", result.blobBytes},
        {"database_bytes", result.databaseBytes}, {"generate_seconds", result.generateSeconds},
        {"cpu_seconds", result.cpuSeconds}, {"floor_cpu_seconds", result.floorCpuSeconds},
        {"page_faults", result.pageFaults}, {"floor_page_faults", result.floorPageFaults}};
    return json.dump();
}

} // namespace vx::bench
