#include "vxexport/ImportProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr size_t kMaxErrorBytes = 64 * 1024;

// In the child after fork: stdin and stdout to /dev/null, stderr to the pipe, then exec. Only
// async-signal-safe calls; a failed exec ends the child with status 127 and a message.
[[noreturn]] void ExecChild(const std::vector<char*>& argv, int errorPipe)
{
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
    }
    dup2(errorPipe, STDERR_FILENO);
    // The child starts with default signal handling, whatever the parent installed.
    signal(SIGINT, SIG_DFL);
    signal(SIGPIPE, SIG_DFL);
    execv(argv[0], argv.data());
    const char* reason = strerror(errno);
    const char prefix[] = "cannot run the importer: ";
    (void)!write(STDERR_FILENO, prefix, sizeof(prefix) - 1);
    (void)!write(STDERR_FILENO, reason, strlen(reason));
    _exit(127);
}

int RemainingMs(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), 1000 * 1000));
}

} // namespace

ChildOutcome RunChildProcess(const std::vector<std::string>& argv, std::chrono::milliseconds timeout)
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
    const pid_t pid = fork();
    if (pid < 0) {
        outcome.error = std::string("cannot start a process: ") + std::strerror(errno);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return outcome;
    }
    if (pid == 0)
        ExecChild(pointers, pipeEnds[1]);
    close(pipeEnds[1]);
    outcome.started = true;

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool open = true;
    while (open) {
        pollfd wait {pipeEnds[0], POLLIN, 0};
        const int ready = poll(&wait, 1, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            outcome.timedOut = ready == 0;
            break;
        }
        char buffer[4096];
        const ssize_t got = read(pipeEnds[0], buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            open = false;
            break;
        }
        const size_t room = kMaxErrorBytes - std::min(kMaxErrorBytes, outcome.error.size());
        outcome.error.append(buffer, std::min(room, static_cast<size_t>(got)));
    }
    close(pipeEnds[0]);
    // The child closed stderr (it is ending) or ran out of time; a child that closed stderr early
    // still has the rest of the time to end.
    if (outcome.timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, outcome.timedOut ? 0 : WNOHANG);
        if (done < 0 && errno == EINTR)
            continue;
        if (done == pid)
            break;
        if (done < 0)
            return outcome;
        if (RemainingMs(deadline) == 0) {
            outcome.timedOut = true;
            kill(pid, SIGKILL);
            continue;
        }
        usleep(10 * 1000);
    }
    if (outcome.timedOut && !WIFEXITED(status)) {
        outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        return outcome;
    }
    outcome.timedOut = false;
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
    if (outcome.timedOut)
        return "the importer was stopped after "
            + std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count())
            + " seconds without finishing";
    if (outcome.signal != 0)
        return "the importer crashed (signal " + std::to_string(outcome.signal) + ", " + strsignal(outcome.signal) + ")";
    std::string text = outcome.error;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text.empty() ? "the importer failed with exit status " + std::to_string(outcome.exitCode) : text;
}

} // namespace vx
