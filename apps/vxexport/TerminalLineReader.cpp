#include "vxexport/TerminalLineReader.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr size_t kMaxLine = 4096;

enum class Wait { Readable, Woken, Failed };

// Waits until fd has input or wakeFd is readable.
Wait WaitForInput(int fd, int wakeFd)
{
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int ready = poll(fds, wakeFd >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno == EINTR)
            continue; // the wake descriptor tells whether it was Ctrl-C
        if (ready < 0)
            return Wait::Failed;
        if (wakeFd >= 0 && (fds[1].revents & POLLIN))
            return Wait::Woken;
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR))
            return Wait::Readable;
        if (fds[0].revents & POLLNVAL)
            return Wait::Failed;
    }
}

} // namespace

std::optional<std::string> ReadTerminalLine(int fd, int wakeFd)
{
    std::string line;
    bool readAny = false;
    for (;;) {
        if (WaitForInput(fd, wakeFd) != Wait::Readable)
            return std::nullopt;
        char c = 0;
        const ssize_t got = read(fd, &c, 1);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return readAny ? std::optional<std::string>(line) : std::nullopt;
        readAny = true;
        if (c == '\n')
            return line;
        if (line.size() < kMaxLine)
            line += c;
    }
}

} // namespace vx
