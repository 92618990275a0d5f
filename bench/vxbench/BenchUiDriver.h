#pragma once
// The user of the benchmark's host: it answers the options dialog with the chosen mode and never
// cancels.

#include "memoryhost/UiDriver.h"

namespace vx::bench {

class BenchUiDriver final : public UiDriver {
public:
    explicit BenchUiDriver(bool singleObject)
        : singleObject_(singleObject)
    {
    }

    // Sets the single-object option to the chosen mode and presses OK.
    void PlayDialog(DialogSession& dialog) override;

private:
    bool singleObject_;
};

} // namespace vx::bench
