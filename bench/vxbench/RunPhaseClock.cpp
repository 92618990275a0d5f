#include "vxbench/RunPhaseClock.h"

namespace vx::bench {

RunPhaseClock::RunPhaseClock()
    : replaced_(CurrentRunPhaseHook())
{
    CurrentRunPhaseHook() = RunPhaseHook {&RunPhaseClock::Mark, this};
}

RunPhaseClock::~RunPhaseClock()
{
    CurrentRunPhaseHook() = replaced_;
}

std::optional<BenchClock::time_point> RunPhaseClock::At(RunPhase phase) const
{
    const auto index = static_cast<std::size_t>(phase);
    return index < marks_.size() ? marks_[index] : std::nullopt;
}

void RunPhaseClock::Mark(void* context, RunPhase phase)
{
    auto* clock = static_cast<RunPhaseClock*>(context);
    const BenchClock::time_point now = BenchClock::now();
    if (phase == RunPhase::Started)
        clock->marks_.fill(std::nullopt);
    const auto index = static_cast<std::size_t>(phase);
    if (index < clock->marks_.size())
        clock->marks_[index] = now;
}

} // namespace vx::bench
