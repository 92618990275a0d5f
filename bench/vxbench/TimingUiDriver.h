#pragma once
// The user of the benchmark's host: it answers the options dialog with the chosen mode, never
// cancels, and notes when the export's progress phases start and end.

#include "memoryhost/UiDriver.h"

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace vx::bench {

using BenchClock = std::chrono::steady_clock;

class TimingUiDriver final : public UiDriver {
public:
    explicit TimingUiDriver(bool singleObject)
        : singleObject_(singleObject)
    {
    }

    void OnProgressStart(std::string_view title) override;
    void OnProgressUpdate(int percent) override;
    void OnProgressEnd() override;
    // Never cancels; notes the time of the query.
    bool IsCancelRequested() override;
    void PlayDialog(DialogSession& dialog) override;

    // Each progress start with its title, in order.
    const std::vector<std::pair<std::string, BenchClock::time_point>>& Starts() const { return starts_; }
    // The last progress end (the run's end of writing), or the epoch when there was none.
    BenchClock::time_point LastEnd() const { return lastEnd_; }
    // The last progress update and the last cancel query before the last progress end (the epoch
    // when there was none). The run's writing ends with a progress step; its cancel query comes
    // right after the database is committed and closed.
    BenchClock::time_point LastUpdateBeforeEnd() const { return updateAtEnd_; }
    BenchClock::time_point LastCancelQueryBeforeEnd() const { return cancelQueryAtEnd_; }

private:
    bool singleObject_;
    std::vector<std::pair<std::string, BenchClock::time_point>> starts_;
    BenchClock::time_point lastEnd_ {};
    BenchClock::time_point lastUpdate_ {};
    BenchClock::time_point lastCancelQuery_ {};
    BenchClock::time_point updateAtEnd_ {};
    BenchClock::time_point cancelQueryAtEnd_ {};
};

} // namespace vx::bench
