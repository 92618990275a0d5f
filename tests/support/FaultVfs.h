#pragma once
// Fault injection for SQLite: a VFS over the default one that counts the operations that change a
// file (write, sync, truncate) and makes a chosen one fail, and an allocator that makes a chosen
// allocation fail. Tests sweep the failure over every operation of a small export.

#include <cstdint>

namespace vxtest {

// While an object lives, SQLite's default VFS is a shim over the previous default. Syncs are
// counted but never reach the disk (the files are as durable as the page cache). Only one may live
// at a time.
class FaultVfs {
public:
    FaultVfs();
    ~FaultVfs();
    FaultVfs(const FaultVfs&) = delete;
    FaultVfs& operator=(const FaultVfs&) = delete;

    // From now on, counting from 1, the n-th write, sync or truncate returns errorCode instead of
    // reaching the file (and every later one succeeds again). n = 0 never fails. Resets the count.
    void FailAt(int64_t n, int errorCode);
    // Operations counted since the last FailAt, and whether the chosen one was reached.
    int64_t Operations() const;
    bool Fired() const;
};

// While an object lives, SQLite allocates through a counting wrapper of its own allocator. SQLite
// is shut down and initialised again around it, so no connection may be open when it is made or
// destroyed. Only one may live at a time.
class FaultAllocator {
public:
    FaultAllocator();
    ~FaultAllocator();
    FaultAllocator(const FaultAllocator&) = delete;
    FaultAllocator& operator=(const FaultAllocator&) = delete;

    // Counting from 1, the n-th allocation (malloc or growing realloc) fails; n = 0 never fails.
    // Resets the count.
    void FailAt(int64_t n);
    int64_t Allocations() const;
    bool Fired() const;
    // Whether the shim is in place (SQLite refused to be reconfigured otherwise).
    bool IsActive() const;
};

} // namespace vxtest
