#pragma once
// Runs the vxexport program as a separate process for the end-to-end tests: with plain files as its
// standard streams, or with a pseudo-terminal for the interactive cases.

#include <csignal>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vxtest {

// The vxexport program under test.
std::string VxexportPath();

struct ProcessResult {
    int exitCode = -1; // the exit status; -1 when the process ended by a signal
    int signal = 0; // the signal that ended it; 0 when it exited
    std::string out; // stdout
    std::string err; // stderr
};

// Runs vxexport with args, stdin reading stdinText (a file, so no terminal), stdout and stderr
// captured, and waits for it.
ProcessResult RunVxexport(const std::vector<std::string>& args, const std::string& stdinText = "");
// The same for any program (the path of its executable).
ProcessResult RunProgram(
    const std::string& program, const std::vector<std::string>& args, const std::string& stdinText = "");

// vxexport with a pseudo-terminal as its stderr (and as its stdin when asked): what the user sees
// is read from the terminal's other side. The terminal's output can be stopped (Ctrl-S), so that
// the program blocks at its first write: a fixed point at which a test can interrupt it.
class TerminalSession {
public:
    TerminalSession();
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // Stops (Ctrl-S) or resumes (Ctrl-Q) the terminal's output.
    void StopOutput();
    void ResumeOutput();
    // Types text on the terminal (the program reads it when the terminal is its stdin).
    void Type(const std::string& text);

    // Starts vxexport; stdin is the terminal when terminalStdin, /dev/null otherwise. stdout is
    // dropped. False when it could not be started.
    bool Start(const std::vector<std::string>& args, bool terminalStdin);
    pid_t Pid() const { return pid_; }

    // Reads the terminal until its output holds text at least count times. False after a timeout
    // or when the program ended first.
    bool WaitForOutput(const std::string& text, int count = 1);
    // Waits until the program is blocked writing to its stderr (with the output stopped). False
    // after a timeout, or when the system does not show the program's system call (see
    // CanSeeSystemCalls).
    bool WaitUntilBlockedWritingStderr();
    // Waits until no SIGINT is pending for the program any more (it was delivered).
    bool WaitUntilInterruptDelivered();
    // Sends signal (Ctrl-C's SIGINT unless another is given) to the program.
    void Interrupt(int signal = SIGINT);
    // Waits for the program's end, reading the terminal meanwhile (the output is resumed first).
    ProcessResult Wait();

    const std::string& Output() const { return output_; }
    // True when /proc shows the system call the started program is in (some systems hide it).
    bool CanSeeSystemCalls() const;

private:
    bool ReadSome(int timeoutMs);

    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
    pid_t pid_ = -1;
    std::string output_;
};

} // namespace vxtest
