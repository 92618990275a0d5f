#pragma once
// Host time in the units of animation tracks.

#include <cstdint>

namespace vx {

// The host time ticks in whole milliseconds: ticks x 0.20833333333333334 (1000 / 4800) in double
// precision, truncated towards zero (tick 1 and tick -1 both give 0). Takes 64-bit ticks so that
// times computed past the 32-bit range convert too; results beyond the 32-bit range saturate.
int32_t TicksToMilliseconds(int64_t ticks);

} // namespace vx
