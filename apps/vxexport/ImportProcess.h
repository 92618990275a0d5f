#pragma once
// Runs a helper program as a child process and waits for it with a time limit: the isolation that
// keeps a crashing, aborting or hanging importer from taking vxexport down.

#include <chrono>
#include <string>
#include <vector>

namespace vx {

struct ChildOutcome {
    bool started = false; // false: the program could not be run (error says why)
    int exitCode = -1; // its exit status; -1 when it did not exit by itself
    int signal = 0; // the signal that ended it; 0 when it exited
    bool timedOut = false; // it ran past the time limit and was killed
    std::string error; // its stderr (at most the first 64 KiB), or why it could not be run
};

// Runs argv[0] (a path) with the arguments argv[1...]: stdin and stdout are /dev/null, stderr is
// captured. A child still running after timeout is killed (SIGKILL) and reported as timedOut. The
// caller's own signal handlers and interrupts do not reach it through this call; EINTR is retried.
ChildOutcome RunChildProcess(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

// A one-line account of an outcome that did not exit with 0: "crashed (signal 11, Segmentation
// fault)", "was stopped after 600 seconds", "could not be run: ...", or its stderr without the
// final line break ("failed with exit status N" when stderr is empty).
std::string DescribeChildFailure(const ChildOutcome& outcome, std::chrono::milliseconds timeout);

} // namespace vx
