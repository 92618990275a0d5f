#pragma once
// Whether an export fits in memory, asked before it starts: an export keeps every converted object
// until it writes the design, so a scene too large for the machine would otherwise end in the
// kernel's out-of-memory killer after minutes of work. The estimate follows the measured cost per
// triangle (docs/performance.md, "Memory").

#include "memoryhost/MemoryHost.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vx {

// What an export of a loaded scene costs on top of the scene itself, per triangle its nodes show
// (a shared mesh counted once per node): measured 150 to 270 bytes; the upper end is used.
constexpr std::uint64_t kExportBytesPerTriangle = 270;
// What any export takes besides its triangles (the database writer, the design's rows, buffers).
constexpr std::uint64_t kExportBaseBytes = std::uint64_t(64) << 20;

struct ExportMemoryNeed {
    std::uint64_t triangles = 0; // the triangles the scene's nodes show
    std::uint64_t bytes = 0; // the memory the export is estimated to need
};

// The estimate for host's scene.
ExportMemoryNeed EstimateExportMemory(const MemoryHost& host);

// The memory this process can still take: the system's available memory, less where an
// address-space limit or the control group's memory limit leaves less. Nothing when the system
// does not tell.
std::optional<std::uint64_t> GetAvailableMemoryBytes();

// The refusal for a need above what is available: "the export needs about 2.1 GiB of memory for
// 8,000,000 triangles, and 1.5 GiB are available"; empty when it fits or available is unknown.
std::string DescribeMemoryShortfall(const ExportMemoryNeed& need, std::optional<std::uint64_t> available);

} // namespace vx
