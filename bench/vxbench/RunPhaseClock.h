#pragma once
// The clock of the export's phases: while it lives it is the run phase hook and notes when the
// run reaches each boundary.

#include "run/RunPhaseHook.h"

#include <array>
#include <chrono>
#include <optional>

namespace vx::bench {

using BenchClock = std::chrono::steady_clock;

class RunPhaseClock {
public:
    // Sets itself as the run phase hook, keeping the hook it replaces.
    RunPhaseClock();
    // Puts the replaced hook back.
    ~RunPhaseClock();
    RunPhaseClock(const RunPhaseClock&) = delete;
    RunPhaseClock& operator=(const RunPhaseClock&) = delete;

    // When the last run reached phase; empty when it did not (or no run started).
    std::optional<BenchClock::time_point> At(RunPhase phase) const;

private:
    // The hook: notes the time of phase; Started forgets the earlier run's marks.
    static void Mark(void* context, RunPhase phase);

    std::array<std::optional<BenchClock::time_point>, kRunPhaseCount> marks_ {};
    RunPhaseHook replaced_;
};

} // namespace vx::bench
