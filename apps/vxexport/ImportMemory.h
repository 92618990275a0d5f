#pragma once
// How much memory the importer may take: its address-space limit, given on the command line as a
// size ("512M", "4G", "unlimited") or derived from the machine. A hostile 3D file of a few hundred
// bytes can declare arrays of gigabytes; the limit turns that into "ran out of memory" instead of
// the machine's memory running out.

#include <cstdint>
#include <optional>
#include <string>

namespace vx {

// The default limit: half of the machine's physical memory, and at least 1 GiB.
std::uint64_t GetDefaultImportMemoryBytes();

// The bytes a size names: a whole number with an optional unit K, M, G or T (powers of 1024, with
// or without a following "B" or "iB", in any case), or "unlimited" for 0 (no limit). Nothing for
// anything else, for 0 itself and for sizes that do not fit 64 bits.
std::optional<std::uint64_t> ParseMemorySize(const std::string& text);

// A size for messages: "512 MiB", "12 GiB", "1.5 GiB"; "no limit" for 0.
std::string FormatMemorySize(std::uint64_t bytes);

} // namespace vx
