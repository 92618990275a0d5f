#pragma once
// Runs a helper program as a child process and watches it: the isolation that keeps a crashing,
// aborting, hanging or memory-hungry importer from taking vxexport down. The child never outlives
// the watch: it is killed on a time-out and on a cancel, and it dies with vxexport (parent-death
// signal) if vxexport itself is killed.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vx {

// How a child is watched.
struct ChildWatch {
    // A child still running after this long is killed (SIGKILL) and reported as timedOut. The
    // child also carries an alarm a little past it, so that it ends even if the watch cannot see it.
    std::chrono::milliseconds timeout = std::chrono::minutes(10);
    // The child's address-space limit in bytes (RLIMIT_AS); 0 for none.
    std::uint64_t memoryBytes = 0;
    // Whether the caller wants the child stopped; asked while the child runs, at least every
    // 100 ms and whenever a signal arrives. Empty: never.
    std::function<bool()> cancelRequested;
};

struct ChildOutcome {
    bool started = false; // false: the program could not be run (error says why)
    int exitCode = -1; // its exit status; -1 when it did not exit by itself
    int signal = 0; // the signal that ended it; 0 when it exited
    bool timedOut = false; // it ran past the time limit and was killed
    bool cancelled = false; // the caller asked for a cancel and the child was killed
    std::string error; // its stderr (at most the first 64 KiB), or why it could not be run
};

// Runs argv[0] (a path) with the arguments argv[1...] in a process group of its own (the
// terminal's Ctrl-C reaches vxexport, which decides): stdin and stdout are /dev/null, stderr is
// captured, signals start with their default effect. Returns once the child has ended and been
// reaped, whatever happened; EINTR is retried.
ChildOutcome RunChildProcess(const std::vector<std::string>& argv, const ChildWatch& watch);

// A one-line account of an outcome that did not exit with 0: "crashed (signal 11, Segmentation
// fault)", "was stopped after 600 seconds", "could not be run: ...", or its stderr without the
// final line break ("failed with exit status N" when stderr is empty).
std::string DescribeChildFailure(const ChildOutcome& outcome, std::chrono::milliseconds timeout);

} // namespace vx
