#pragma once
// The process's peak resident memory.

namespace vx::bench {

// Starts a new peak at the current resident size where the system allows it (Linux clear_refs);
// returns false when the peak cannot be reset (the peak then counts from the process start).
bool ResetPeakMemory();

// The peak resident memory in MiB since the last reset (or the process start).
double GetPeakMemoryMb();

} // namespace vx::bench
