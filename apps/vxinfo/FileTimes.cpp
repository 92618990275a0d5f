#include "vxinfo/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace vxinfo {

namespace {

int64_t Milliseconds(const statx_timestamp& t)
{
    return t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

std::optional<FileTimes> TimesBy(int dirFd, const char* path, int flags)
{
    struct statx info { };
    if (::statx(dirFd, path, flags, STATX_BTIME | STATX_MTIME, &info) != 0 || !(info.stx_mask & STATX_MTIME))
        return std::nullopt;
    FileTimes times;
    times.modifiedMs = Milliseconds(info.stx_mtime);
    // Some file systems report no birth time, or report it as zero.
    if ((info.stx_mask & STATX_BTIME) && (info.stx_btime.tv_sec != 0 || info.stx_btime.tv_nsec != 0))
        times.bornMs = Milliseconds(info.stx_btime);
    return times;
}

} // namespace

std::optional<FileTimes> FileTimesOf(int fd)
{
    return TimesBy(fd, "", AT_EMPTY_PATH);
}

std::optional<FileTimes> FileTimesAt(const std::string& path)
{
    return TimesBy(AT_FDCWD, path.c_str(), 0);
}

} // namespace vxinfo
