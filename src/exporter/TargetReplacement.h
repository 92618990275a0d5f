#pragma once
// Safe replacement of the export target: the database is written to a temporary file in the
// target's folder and renamed over the target only once it is complete, so that a run that fails,
// is cancelled or is killed leaves the previous target as it was.

#include <string>

namespace vx {

// Whether the file at targetPath can be replaced now. It cannot ("in use") when the path is empty,
// names a folder, lies in an existing folder the process may not write, or names a file that
// another holder has locked exclusively (as DFile::CreateNew holds its files). A missing target
// can be replaced.
bool CanReplaceTarget(const std::string& targetPath);

// Why the file at targetPath cannot be replaced now, in the system's words where it has them
// ("the target is a folder", "the folder '...' cannot be written: Permission denied", "another
// program holds the target"); empty when it can be (CanReplaceTarget).
std::string WhyTargetIsInUse(const std::string& targetPath);

// Removes the temporary files (".<file name>-XXXXXX" and their "-journal") that earlier runs for
// targetPath left beside it when they were killed: only those whose owner is gone, which the lock
// every live run holds on its temporary file tells. Others, and every other file, stay.
void RemoveAbandonedTemporaries(const std::string& targetPath);

// A temporary file beside a target, ".<file name>-XXXXXX" in the target's folder (".vx-<CRC-32 of
// the file name>-XXXXXX" for a name too long to take the prefix and suffix), locked
// (flock, exclusive) for as long as it lives so that a later run can tell it from a killed run's
// leftover. The file is removed on destruction unless it was moved into place.
class TemporaryTarget {
public:
    // Creates the empty temporary file. Throws std::runtime_error when it cannot be created (a
    // missing or unwritable folder).
    explicit TemporaryTarget(const std::string& targetPath);
    ~TemporaryTarget();
    TemporaryTarget(const TemporaryTarget&) = delete;
    TemporaryTarget& operator=(const TemporaryTarget&) = delete;

    const std::string& Path() const { return path_; }

    // Renames the temporary file over the target (atomically replacing it). Returns false, leaving
    // both as they were, when the rename fails; later calls return false.
    bool MoveIntoPlace();
    // Why the last MoveIntoPlace failed, in the system's words; empty before a failure.
    const std::string& Failure() const { return failure_; }

    // Removes the temporary file (and a journal SQLite may have left beside it) now.
    void Remove();

private:
    // Releases the lock on the temporary file.
    void Unlock();

    std::string targetPath_;
    std::string path_;
    bool present_ = false;
    int lockFd_ = -1;
    std::string failure_;
};

} // namespace vx
