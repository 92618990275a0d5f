#pragma once
// The run phase hook: the export run reports each boundary between its phases to it, when set, so
// that a caller (the benchmark) can time the phases apart. Unset, a boundary costs one test.

namespace vx {

// The boundaries of an export run, in the order a complete run reaches them. A run that ends
// early (target in use, cancelled, failed) reports the boundaries it reached.
enum class RunPhase {
    Started, // the run begins: the options are settled
    ScenePassesRun, // the scene passes have run
    TreeBuilt, // the export tree is built (the log is open)
    DatabaseOpened, // the design database is created and open
    Converted, // the scene is converted into the design, nothing written yet
    Written, // every row is written, the transaction still open
    Committed, // the run's tables are emptied and the database committed, stamped and closed
    Released, // the export tree is released
};

// The number of RunPhase values.
inline constexpr int kRunPhaseCount = 8;

// Called at each boundary with the context it was set with.
using RunPhaseFunction = void (*)(void* context, RunPhase phase);

struct RunPhaseHook {
    RunPhaseFunction function = nullptr;
    void* context = nullptr;
};

// The process-wide hook; unset until a caller sets it. The run never changes it: whoever sets it
// unsets it before its context goes away (the run reports Started first, so the caller can start
// afresh for each run).
RunPhaseHook& CurrentRunPhaseHook();

// Calls the current hook with phase; nothing when no function is set.
void MarkRunPhase(RunPhase phase);

} // namespace vx
