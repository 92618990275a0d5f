#include "exporter/TargetReplacement.h"

#include "base/Crc32.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vx {

namespace {

// The target's folder, up to and including the last '/' (empty for a bare file name). Only '/'
// separates folders here: the file system sees '\\' as part of a name.
std::string FolderPrefixOf(const std::string& targetPath)
{
    const std::size_t slash = targetPath.rfind('/');
    return slash == std::string::npos ? std::string() : targetPath.substr(0, slash + 1);
}

// The target's folder as a usable path ("." for a bare file name).
std::string FolderOf(const std::string& targetPath)
{
    const std::string prefix = FolderPrefixOf(targetPath);
    return prefix.empty() ? std::string(".") : prefix;
}

bool IsLockedExclusively(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

// Makes the rename durable: the folder's entry is synced (a failure only loses durability).
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

constexpr std::size_t kUniqueLength = 6; // the XXXXXX mkstemp fills in
constexpr const char* kJournal = "-journal";
// The longest file name the file systems here take.
constexpr std::size_t kNameMax = 255;

// The start of the temporary names of the target file named file: ".<file>-", or, when that would
// make the name (and its journal) longer than a file name may be, a short ".vx-<CRC-32>-" that
// still tells targets apart.
std::string TemporaryPrefix(const std::string& file)
{
    const std::string plain = "." + file + "-";
    if (plain.size() + kUniqueLength + std::strlen(kJournal) <= kNameMax)
        return plain;
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", Crc32(file.data(), file.size()));
    return std::string(".vx-") + crc + "-";
}

// Whether name is ".<file>-XXXXXX" (then *base is that name) or its journal.
bool IsTemporaryName(const std::string& name, const std::string& file, std::string* base)
{
    const std::string prefix = TemporaryPrefix(file);
    if (name.compare(0, prefix.size(), prefix) != 0)
        return false;
    std::string rest = name.substr(prefix.size());
    const std::size_t journal = std::strlen(kJournal);
    if (rest.size() == kUniqueLength + journal && rest.compare(kUniqueLength, journal, kJournal) == 0)
        rest.resize(kUniqueLength);
    if (rest.size() != kUniqueLength || rest.find('/') != std::string::npos)
        return false;
    *base = prefix + rest;
    return true;
}

// Whether a live run holds the temporary file at path (its lock cannot be taken). A file that
// cannot be opened counts as held: nothing is removed on a guess.
bool IsHeldByALiveRun(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return errno != ENOENT;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// SQLite's own lock on an existing target, taken without waiting: held while it lives, so that no
// SQLite client can start on the file between the check and the replacement. A file that is not a
// database, or cannot be opened, has no such client.
class SqliteTargetLock {
public:
    explicit SqliteTargetLock(const std::string& path)
    {
        struct stat info { };
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0)
            return;
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr)
            != SQLITE_OK)
            return;
        sqlite3_busy_timeout(db_, 0);
        const int result = sqlite3_exec(db_, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr);
        held_ = (result & 0xFF) == SQLITE_BUSY || (result & 0xFF) == SQLITE_LOCKED;
        locked_ = result == SQLITE_OK;
    }
    ~SqliteTargetLock()
    {
        if (locked_)
            sqlite3_exec(db_, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
    SqliteTargetLock(const SqliteTargetLock&) = delete;
    SqliteTargetLock& operator=(const SqliteTargetLock&) = delete;

    // Whether an SQLite client holds the target (a transaction or a read in progress).
    bool HeldByAnother() const { return held_; }

private:
    sqlite3* db_ = nullptr;
    bool held_ = false;
    bool locked_ = false;
};

} // namespace

void RemoveAbandonedTemporaries(const std::string& targetPath)
{
    const std::string prefix = FolderPrefixOf(targetPath);
    const std::string file = targetPath.substr(prefix.size());
    DIR* folder = ::opendir(FolderOf(targetPath).c_str());
    if (!folder)
        return;
    std::vector<std::string> abandoned;
    while (const dirent* entry = ::readdir(folder)) {
        std::string base;
        if (!IsTemporaryName(entry->d_name, file, &base))
            continue;
        // A temporary file no live run holds, or a journal whose file is gone (its run removed or
        // moved the file into place and was killed before it removed the journal).
        struct stat info { };
        const bool orphanJournal
            = base != entry->d_name && ::lstat((prefix + base).c_str(), &info) != 0 && errno == ENOENT;
        if (orphanJournal || (base == entry->d_name && !IsHeldByALiveRun(prefix + base)))
            abandoned.push_back(base);
    }
    ::closedir(folder);
    for (const std::string& base : abandoned) {
        if (!IsHeldByALiveRun(prefix + base))
            ::unlink((prefix + base).c_str());
        ::unlink((prefix + base + kJournal).c_str());
    }
}

std::string WhyTargetIsInUse(const std::string& targetPath)
{
    if (targetPath.empty())
        return "no target was given";
    struct stat info { };
    const bool exists = ::stat(targetPath.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        return "the target is a folder";
    const std::string folder = FolderOf(targetPath);
    struct stat folderInfo { };
    if (::stat(folder.c_str(), &folderInfo) == 0 && ::access(folder.c_str(), W_OK | X_OK) != 0)
        return "the folder '" + folder + "' cannot be written: " + std::strerror(errno);
    if (exists && IsLockedExclusively(targetPath))
        return "another program holds the target";
    if (exists && SqliteTargetLock(targetPath).HeldByAnother())
        return "an SQLite client holds the target";
    return {};
}

bool CanReplaceTarget(const std::string& targetPath)
{
    return WhyTargetIsInUse(targetPath).empty();
}

TemporaryTarget::TemporaryTarget(const std::string& targetPath)
    : targetPath_(targetPath)
{
    const std::string prefix = FolderPrefixOf(targetPath);
    const std::string pattern = prefix + TemporaryPrefix(targetPath.substr(prefix.size())) + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    RemoveAbandonedTemporaries(targetPath);
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        throw std::runtime_error(
            "cannot create a temporary file beside " + targetPath + ": " + std::strerror(errno));
    // Held until the file is moved into place or removed: a run killed meanwhile leaves an
    // unlocked file, which the next run for this target removes.
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::flock(fd, LOCK_EX | LOCK_NB);
    lockFd_ = fd;
    path_ = name.data();
    present_ = true;
}

void TemporaryTarget::Unlock()
{
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = -1;
}

TemporaryTarget::~TemporaryTarget()
{
    Remove();
}

bool TemporaryTarget::MoveIntoPlace()
{
    if (!present_)
        return false;
    // A client of the old target must not go on in a file that is about to be unlinked.
    const SqliteTargetLock lock(targetPath_);
    if (lock.HeldByAnother()) {
        failure_ = "an SQLite client holds the target";
        return false;
    }
    if (::rename(path_.c_str(), targetPath_.c_str()) != 0) {
        failure_ = std::string("the target could not be replaced: ") + std::strerror(errno);
        return false;
    }
    present_ = false;
    Unlock();
    SyncFolder(FolderOf(targetPath_));
    return true;
}

void TemporaryTarget::Remove()
{
    if (!present_)
        return;
    ::unlink(path_.c_str());
    ::unlink((path_ + kJournal).c_str());
    present_ = false;
    Unlock();
}

} // namespace vx
