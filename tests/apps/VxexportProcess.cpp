#include "VxexportProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace vxtest {

namespace {

constexpr auto kTimeout = std::chrono::seconds(60);

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A file in the temporary directory, removed with the object.
class ScratchFile {
public:
    ScratchFile()
    {
        char name[] = "/tmp/vxexport-test-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0)
            close(fd);
        path_ = name;
    }
    ~ScratchFile() { unlink(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::vector<char*> MakeArgv(const std::string& program, const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    return argv;
}

void FillResult(int status, ProcessResult& result)
{
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
}

template <typename Condition> bool WaitFor(Condition condition)
{
    const auto end = std::chrono::steady_clock::now() + kTimeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

// True once the process has ended (it stays waitable).
bool HasEnded(pid_t pid)
{
    siginfo_t info {};
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != 0;
}

} // namespace

std::string VxexportPath()
{
    return VXEXPORT_PATH;
}

ProcessResult RunVxexport(const std::vector<std::string>& args, const std::string& stdinText)
{
    return RunProgram(VxexportPath(), args, stdinText);
}

ProcessResult RunProgram(
    const std::string& program, const std::vector<std::string>& args, const std::string& stdinText)
{
    ScratchFile in;
    ScratchFile out;
    ScratchFile err;
    std::ofstream(in.Path(), std::ios::binary) << stdinText;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.Path().c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.Path().c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.Path().c_str(), O_WRONLY | O_TRUNC, 0);
    std::vector<char*> argv = MakeArgv(program, args);
    pid_t pid = -1;
    ProcessResult result;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.err = "cannot start " + program;
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    FillResult(status, result);
    result.out = ReadWholeFile(out.Path());
    result.err = ReadWholeFile(err.Path());
    return result;
}

TerminalSession::TerminalSession()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        return;
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    slaveName_ = ptsname(master_);
    // Held open by the test so that the terminal lives between the program's writes.
    slave_ = open(slaveName_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings {};
    if (slave_ >= 0 && tcgetattr(slave_, &settings) == 0) {
        settings.c_iflag |= IXON; // Ctrl-S and Ctrl-Q stop and resume the output
        tcsetattr(slave_, TCSANOW, &settings);
    }
}

TerminalSession::~TerminalSession()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
}

void TerminalSession::StopOutput()
{
    Type("\x13");
}

void TerminalSession::ResumeOutput()
{
    Type("\x11");
}

void TerminalSession::Type(const std::string& text)
{
    const ssize_t written = write(master_, text.data(), text.size());
    (void)written;
}

bool TerminalSession::Start(const std::vector<std::string>& args, bool terminalStdin)
{
    if (slave_ < 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(
        &actions, 0, terminalStdin ? slaveName_.c_str() : "/dev/null", O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, slaveName_.c_str(), O_RDWR | O_NOCTTY, 0);
    // Ctrl-C must reach the program even when the tests run with SIGINT ignored (a background job).
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const std::string program = VxexportPath();
    std::vector<char*> argv = MakeArgv(program, args);
    const int spawned = posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        pid_ = -1;
    return spawned == 0;
}

bool TerminalSession::ReadSome(int timeoutMs)
{
    pollfd fd = {master_, POLLIN, 0};
    if (poll(&fd, 1, timeoutMs) <= 0)
        return false;
    char buffer[4096];
    const ssize_t got = read(master_, buffer, sizeof buffer);
    if (got <= 0)
        return false;
    output_.append(buffer, static_cast<size_t>(got));
    return true;
}

bool TerminalSession::WaitForOutput(const std::string& text, int count)
{
    const auto occurrences = [&] {
        int found = 0;
        for (size_t at = output_.find(text); at != std::string::npos;
             at = output_.find(text, at + text.size()))
            ++found;
        return found;
    };
    return WaitFor([&] {
        ReadSome(10);
        return occurrences() >= count || HasEnded(pid_);
    }) && occurrences() >= count;
}

bool TerminalSession::CanSeeSystemCalls() const
{
    std::ifstream file("/proc/" + std::to_string(pid_) + "/syscall");
    std::string first;
    return static_cast<bool>(file >> first);
}

bool TerminalSession::WaitUntilBlockedWritingStderr()
{
    const std::string path = "/proc/" + std::to_string(pid_) + "/syscall";
    return WaitFor([&] {
        std::ifstream file(path);
        long number = -1;
        std::string fd;
        // "<number> <first argument> ..." while blocked in a system call, "running" otherwise.
        return file >> number >> fd && number == SYS_write && fd == "0x2";
    });
}

bool TerminalSession::WaitUntilInterruptDelivered()
{
    const std::string path = "/proc/" + std::to_string(pid_) + "/status";
    const unsigned long long bit = 1ull << (SIGINT - 1);
    return WaitFor([&] {
        std::ifstream file(path);
        std::string line;
        bool pending = false;
        while (std::getline(file, line))
            if (line.rfind("SigPnd:", 0) == 0 || line.rfind("ShdPnd:", 0) == 0)
                pending = pending || (std::strtoull(line.c_str() + 7, nullptr, 16) & bit) != 0;
        return !pending;
    });
}

void TerminalSession::Interrupt(int signal)
{
    kill(pid_, signal);
}

ProcessResult TerminalSession::Wait()
{
    ProcessResult result;
    ResumeOutput();
    int status = 0;
    const bool ended = WaitFor([&] {
        ReadSome(10);
        return waitpid(pid_, &status, WNOHANG) == pid_;
    });
    while (ReadSome(0)) { }
    if (!ended) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        output_ += "\n[vxexport did not end in time]\n";
    } else {
        FillResult(status, result);
    }
    pid_ = -1;
    result.err = output_;
    return result;
}

} // namespace vxtest
