#pragma once
// The benchmark's figures as text lines for people, or as JSON.

#include "vxbench/BenchRun.h"

#include <string>

namespace vx::bench {

// A few lines for one run.
std::string FormatBenchText(const BenchResult& result);

// One JSON object with the keys preset, mode, seconds, floor_seconds, ratio, peak_rss_mb, phases
// (an object: phase name -> seconds) and further details.
std::string FormatBenchJson(const BenchResult& result);

} // namespace vx::bench
