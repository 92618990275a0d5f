#pragma once
// PerRunTable: the hook of a process-wide lookup table that lives for one export run. On first use
// in a run it registers with the run's SceneContext, which empties it at the end of the conversion
// phase; when that context is destroyed the table is emptied again and the next run registers
// anew. Outside a run (no current SceneContext) the table just keeps its content.

#include <functional>

namespace vx {

class PerRunTable {
public:
    // clear empties the table; it is called by the run and on the context's destruction.
    explicit PerRunTable(std::function<void()> clear);
    PerRunTable(const PerRunTable&) = delete;
    PerRunTable& operator=(const PerRunTable&) = delete;

    // Registers with the current SceneContext unless already registered with a living one. Call it
    // before every use of the table.
    void Touch();

private:
    friend class PerRunTableLink;
    std::function<void()> clear_;
    bool registered_ = false;
};

} // namespace vx
