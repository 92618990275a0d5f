#include "vxexport/ImportProcess.h"

#include "base/AddressSanitizer.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr size_t kMaxErrorBytes = 64 * 1024;
// How far past the watch's own limit the child's alarm goes off.
constexpr unsigned kAlarmMarginSeconds = 5;
// How often the watch asks whether the caller wants the child stopped.
constexpr int kCancelQueryMs = 100;

void WriteError(const char* prefix, const char* reason)
{
    (void)!write(STDERR_FILENO, prefix, strlen(prefix));
    (void)!write(STDERR_FILENO, reason, strlen(reason));
}

// In the child after fork: its own process group, death with the parent, the limits, stdin and
// stdout to /dev/null, stderr to the pipe, default signals, then exec. Only async-signal-safe
// calls; a failed exec ends the child with status 127 and a message.
[[noreturn]] void ExecChild(
    const std::vector<char*>& argv, int errorPipe, const ChildWatch& watch, pid_t parent)
{
    setpgid(0, 0);
    // Dies with vxexport; a parent already gone before the request took effect ends it here.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(watch.timeout).count();
    alarm(static_cast<unsigned>(std::min<long long>(seconds, 1 << 30)) + kAlarmMarginSeconds);
#if !VX_ADDRESS_SANITIZER
    // (An AddressSanitizer build reserves terabytes of address space for its shadow memory and
    // cannot start under such a limit.)
    if (watch.memoryBytes > 0) {
        const rlimit limit {watch.memoryBytes, watch.memoryBytes};
        setrlimit(RLIMIT_AS, &limit);
    }
#endif
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
    }
    dup2(errorPipe, STDERR_FILENO);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGALRM})
        std::signal(signal, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv(argv[0], argv.data());
    WriteError("cannot run the importer: ", strerror(errno));
    _exit(127);
}

int RemainingMs(std::chrono::steady_clock::time_point deadline)
{
    const auto left
        = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), 1000 * 1000));
}

enum class WatchEnd { StderrClosed, TimedOut, Cancelled };

bool IsCancelRequested(const ChildWatch& watch)
{
    return watch.cancelRequested && watch.cancelRequested();
}

// Reads the child's stderr into error until it closes, the deadline passes or a cancel comes.
WatchEnd CollectStderr(int errorPipe, const ChildWatch& watch, std::chrono::steady_clock::time_point deadline,
    std::string& error)
{
    for (;;) {
        if (IsCancelRequested(watch))
            return WatchEnd::Cancelled;
        // A signal ends the wait at once (EINTR); any other cancel is seen within 100 ms.
        pollfd wait {errorPipe, POLLIN, 0};
        const int ready = poll(&wait, 1, std::min(RemainingMs(deadline), kCancelQueryMs));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || RemainingMs(deadline) == 0)
            return WatchEnd::TimedOut;
        if (ready == 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(errorPipe, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return WatchEnd::StderrClosed;
        const size_t room = kMaxErrorBytes - std::min(kMaxErrorBytes, error.size());
        error.append(buffer, std::min(room, static_cast<size_t>(got)));
    }
}

// Kills the child's whole process group (anything it started goes too), and the child itself in
// case it has not made its group yet.
void KillChild(pid_t pid)
{
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
}

// Waits for the child's end after its stderr closed: it has the rest of the time (and a cancel
// still stops it). Returns its wait status; sets timedOut or cancelled when it had to be killed.
int ReapChild(
    pid_t pid, const ChildWatch& watch, std::chrono::steady_clock::time_point deadline, ChildOutcome& outcome)
{
    int status = 0;
    bool killed = outcome.timedOut || outcome.cancelled;
    if (killed)
        KillChild(pid);
    for (;;) {
        const pid_t done = waitpid(pid, &status, killed ? 0 : WNOHANG);
        if (done < 0 && errno == EINTR)
            continue;
        if (done == pid || done < 0)
            return status;
        if (IsCancelRequested(watch) || RemainingMs(deadline) == 0) {
            (IsCancelRequested(watch) ? outcome.cancelled : outcome.timedOut) = true;
            killed = true;
            KillChild(pid);
            continue;
        }
        usleep(10 * 1000);
    }
}

} // namespace

ChildOutcome RunChildProcess(const std::vector<std::string>& argv, const ChildWatch& watch)
{
    ChildOutcome outcome;
    if (argv.empty()) {
        outcome.error = "no program given";
        return outcome;
    }
    std::vector<std::string> copies(argv);
    std::vector<char*> pointers;
    for (std::string& arg : copies)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        outcome.error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return outcome;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        outcome.error = std::string("cannot start a process: ") + std::strerror(errno);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return outcome;
    }
    if (pid == 0)
        ExecChild(pointers, pipeEnds[1], watch, parent);
    close(pipeEnds[1]);
    setpgid(pid, pid); // also from this side, so that a kill of the group cannot miss it
    outcome.started = true;

    const auto deadline = std::chrono::steady_clock::now() + watch.timeout;
    const WatchEnd end = CollectStderr(pipeEnds[0], watch, deadline, outcome.error);
    close(pipeEnds[0]);
    outcome.timedOut = end == WatchEnd::TimedOut;
    outcome.cancelled = end == WatchEnd::Cancelled;
    const int status = ReapChild(pid, watch, deadline, outcome);
    if ((outcome.timedOut || outcome.cancelled) && !WIFEXITED(status)) {
        outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        return outcome;
    }
    // It ended by itself just before it would have been killed: its own outcome counts.
    outcome.timedOut = outcome.cancelled = false;
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        outcome.signal = WTERMSIG(status);
    return outcome;
}

std::string DescribeChildFailure(const ChildOutcome& outcome, std::chrono::milliseconds timeout)
{
    if (!outcome.started)
        return "could not be run: " + outcome.error;
    if (outcome.cancelled)
        return "the import was cancelled";
    if (outcome.timedOut)
        return "the importer was stopped after "
            + std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count())
            + " seconds without finishing";
    if (outcome.signal != 0)
        return "the importer crashed (signal " + std::to_string(outcome.signal) + ", "
            + strsignal(outcome.signal) + ")";
    std::string text = outcome.error;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text.empty() ? "the importer failed with exit status " + std::to_string(outcome.exitCode) : text;
}

} // namespace vx
