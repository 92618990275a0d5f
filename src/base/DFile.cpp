#include "base/DFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vx {

namespace {

// Takes the advisory lock without waiting. Fails only when another holder conflicts; where the
// file system offers no locks the file is used without one.
bool TakeLock(int fd, int lockMode)
{
    int result = 0;
    do {
        result = flock(fd, lockMode | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0 || errno != EWOULDBLOCK;
}

bool IsRegularFile(int fd)
{
    struct stat status { };
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

DFile::DFile(DFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1))
    , writable_(std::exchange(other.writable_, false))
{
}

DFile& DFile::operator=(DFile&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        writable_ = std::exchange(other.writable_, false);
    }
    return *this;
}

DFile::~DFile()
{
    Close();
}

bool DFile::OpenLocked(const char* path, int flags, int lockMode)
{
    Close();
    if (!path || !*path)
        return false;
    // Non-blocking open so that a FIFO or device cannot stall us; such files are refused below.
    int fd = -1;
    do {
        fd = open(path, flags | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    if (!IsRegularFile(fd) || !TakeLock(fd, lockMode)
        || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool DFile::OpenRead(const char* path, bool writeAccess)
{
    if (!OpenLocked(path, writeAccess ? O_RDWR : O_RDONLY, LOCK_SH))
        return false;
    writable_ = writeAccess;
    posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

bool DFile::CreateNew(const char* path, bool writeAccess)
{
    // Never written through a symbolic link: a link at path is replaced by a new file, as a target
    // is replaced, and whatever it pointed to stays as it was.
    if (!OpenLocked(path, O_RDWR | O_CREAT | O_NOFOLLOW, LOCK_EX)) {
        struct stat link { };
        if (!path || lstat(path, &link) != 0 || !S_ISLNK(link.st_mode) || unlink(path) != 0
            || !OpenLocked(path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, LOCK_EX))
            return false;
    }
    // Emptied only once the exclusive lock is held, so a file in use elsewhere is left intact.
    if (ftruncate(fd_, 0) != 0) {
        Close();
        return false;
    }
    writable_ = writeAccess;
    return true;
}

bool DFile::Close()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    writable_ = false;
    return true;
}

int64_t DFile::GetSize() const
{
    struct stat status { };
    if (fd_ < 0 || fstat(fd_, &status) != 0)
        return 0;
    return static_cast<int64_t>(status.st_size);
}

std::size_t DFile::Read(void* buffer, std::size_t elementSize, std::size_t elementCount)
{
    std::size_t wanted = 0;
    if (fd_ < 0 || !buffer || elementSize == 0 || __builtin_mul_overflow(elementSize, elementCount, &wanted))
        return 0;
    auto* out = static_cast<char*>(buffer);
    std::size_t got = 0;
    while (got < wanted) {
        const ssize_t n = read(fd_, out + got, wanted - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got / elementSize;
}

std::size_t DFile::WriteLine(const char* text, bool carriageReturn)
{
    if (fd_ < 0 || !writable_)
        return 0;
    std::string line = text ? text : "";
    line += carriageReturn ? "\r\n" : "\n";
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = write(fd_, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    return written;
}

} // namespace vx
