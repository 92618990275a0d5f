#include "vxexport/Interrupt.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr int kCancelSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t interrupted = 0;
// The self-pipe: the handler writes one byte to wakeWrite; waiters poll wakeRead.
int wakeRead = -1;
int wakeWrite = -1;

// Only async-signal-safe work here: a flag, write(2), signal(2) and raise(3).
extern "C" void HandleInterrupt(int signal)
{
    if (interrupted) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    interrupted = 1;
    if (wakeWrite >= 0) {
        const char byte = 1;
        const ssize_t written = write(wakeWrite, &byte, 1);
        (void)written; // a full pipe is awake already
    }
}

bool OpenWakePipe()
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    for (int fd : fds) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    wakeRead = fds[0];
    wakeWrite = fds[1];
    return true;
}

// Installs the handler for signal unless the program was started with it ignored.
bool InstallFor(int signal)
{
    struct sigaction previous = {};
    if (sigaction(signal, nullptr, &previous) != 0)
        return false;
    if (previous.sa_handler == SIG_IGN)
        return true;
    struct sigaction action = {};
    action.sa_handler = HandleInterrupt;
    sigemptyset(&action.sa_mask);
    for (int other : kCancelSignals)
        sigaddset(&action.sa_mask, other); // two signals at once still count as first and second
    // Interrupted writes (a progress line on a stopped terminal) go on; a waiting prompt is woken
    // through the pipe, as poll(2) is never restarted.
    action.sa_flags = SA_RESTART;
    return sigaction(signal, &action, nullptr) == 0;
}

} // namespace

bool InstallInterruptHandler()
{
    static bool installed = false;
    if (installed)
        return true;
    if (!OpenWakePipe())
        return false;
    for (int signal : kCancelSignals)
        if (!InstallFor(signal))
            return false;
    installed = true;
    return true;
}

bool IsInterruptRequested()
{
    return interrupted != 0;
}

int GetInterruptWakeFd()
{
    return wakeRead;
}

} // namespace vx
