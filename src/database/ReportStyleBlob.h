#pragma once
// The report layout that every design database carries in its one ReportStyles row ("Excel
// report"): a bill of materials in two sections with the same sixteen columns.

#include <cstdint>
#include <vector>

namespace vx {

// The layout's bytes (933 of them): texts are 8-bit, each preceded by its length in the 7-bit
// variable-length encoding (low 7 bits first, high bit set while more bytes follow); integers are
// 32-bit little-endian; a column is its 16 identifier bytes followed by its title text.
std::vector<uint8_t> BuildReportStyleBlob();

} // namespace vx
