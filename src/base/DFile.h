#pragma once
// DFile: owns one operating-system file handle, or none; destruction closes it.
//
// Sharing follows the original host's rules with advisory locks (flock): a file made by CreateNew
// is held exclusively while open, so no other DFile (in this or another process) can open it;
// OpenRead takes a shared lock and fails while someone else holds the file exclusively. Two
// opens of the same file are separate holders, also within one process.

#include <cstddef>
#include <cstdint>

namespace vx {

class DFile {
public:
    DFile() = default;
    DFile(const DFile&) = delete;
    DFile& operator=(const DFile&) = delete;
    DFile(DFile&& other) noexcept;
    DFile& operator=(DFile&& other) noexcept;
    ~DFile();

    // Closes any handle held, then opens the existing regular file at path for reading (and
    // writing when writeAccess), shared with other readers. Fails (leaving the file closed) on a
    // null path, a missing file, a folder, or a file that another holder has exclusively.
    // Returns whether a handle is now held.
    bool OpenRead(const char* path, bool writeAccess = false);

    // Closes any handle held, then creates the file at path, emptying an existing one, and holds
    // it exclusively. A symbolic link at path is replaced by a new file; what it points to is never
    // opened. Without writeAccess the file is created but WriteLine writes nothing. Fails
    // (leaving the file closed, and an existing file untouched) when the file cannot be created
    // or another holder has it open. Returns whether a handle is now held.
    bool CreateNew(const char* path, bool writeAccess = true);

    // Closes the handle if one is held; always returns true.
    bool Close();
    bool IsOpen() const { return fd_ >= 0; }

    // The file's size in bytes; 0 when closed.
    int64_t GetSize() const;

    // Reads elementSize x elementCount bytes into buffer and returns the number of whole elements
    // read (fewer at the end of the file, 0 when closed or on failure).
    std::size_t Read(void* buffer, std::size_t elementSize, std::size_t elementCount);

    // Writes the bytes of text as they are (nothing for a null text), then a carriage return (13)
    // when carriageReturn, then a line feed (10). Returns the number of bytes written (0 when
    // closed or opened without write access).
    std::size_t WriteLine(const char* text, bool carriageReturn);

private:
    // Opens with flags and takes the lock; on failure leaves the file closed.
    bool OpenLocked(const char* path, int flags, int lockMode);

    int fd_ = -1;
    bool writable_ = false;
};

} // namespace vx
