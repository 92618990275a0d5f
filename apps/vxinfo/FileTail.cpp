#include "vxinfo/FileTail.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxinfo {

namespace {

FileTail Failed(TailState state, int error = 0)
{
    FileTail tail;
    tail.state = state;
    tail.error = error;
    return tail;
}

// Reads size bytes from offset (fewer when the file ends first); false on a read error.
bool ReadAt(int fd, int64_t offset, std::size_t size, std::string& bytes)
{
    bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(
            fd, bytes.data() + done, size - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return true;
}

// Reads the end of the regular file fd of size bytes into tail.
void ReadEnd(int fd, int64_t size, std::size_t maxBytes, FileTail& tail)
{
    const bool cut = size > static_cast<int64_t>(maxBytes);
    // One byte before the cut shows whether the cut falls at the start of a line.
    const int64_t from = cut ? size - static_cast<int64_t>(maxBytes) - 1 : 0;
    if (!ReadAt(fd, from, static_cast<std::size_t>(size - from), tail.text)) {
        tail = Failed(TailState::Unreadable, errno);
        return;
    }
    tail.state = TailState::Read;
    tail.truncated = cut;
    if (cut) {
        const std::size_t lineStart = tail.text.find('\n');
        tail.text.erase(0, lineStart == std::string::npos ? tail.text.size() : lineStart + 1);
    }
}

} // namespace

FileTail ReadFileTail(const std::string& path, std::size_t maxBytes)
{
    // Looked at before it is opened: opening some devices already does something.
    struct stat info { };
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Failed(TailState::Missing)
                                                   : Failed(TailState::Unreadable, errno);
    if (!S_ISREG(info.st_mode))
        return Failed(TailState::NotRegularFile);
    // Without blocking, and checked again once open: the path may have changed in between.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Failed(TailState::Unreadable, errno);
    FileTail tail;
    const std::optional<FileTimes> times = FileTimesOf(fd);
    if (::fstat(fd, &info) != 0 || !times)
        tail = Failed(TailState::Unreadable, errno);
    else if (!S_ISREG(info.st_mode))
        tail = Failed(TailState::NotRegularFile);
    else {
        tail.times = *times;
        ReadEnd(fd, info.st_size, maxBytes, tail);
    }
    ::close(fd);
    return tail;
}

} // namespace vxinfo
