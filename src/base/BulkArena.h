#pragma once
// Memory for what an export fills by the hundreds of megabytes and keeps until it is written: the
// vertex channels, render normals and design records. Blocks are carved from big regions that the
// kernel may back with huge pages: filling them then costs one page fault per 2 MiB instead of one
// per 4 KiB, which on a virtual machine is a large share of a big export. Freed blocks are kept by size class
// and handed out again; when the last block of the arena is freed, every region goes back to the system, so a
// plug-in that has finished an export holds none of this memory.

#include "base/AddressSanitizer.h"

#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

namespace vx {

class BulkArena {
public:
    // BulkAllocator passes smaller requests to operator new: a vector that small gains nothing
    // here. The arena itself serves any size (records use its small classes).
    static constexpr std::size_t MIN_BLOCK_BYTES = 1024;
    // Requests above this many bytes get a region of their own.
    static constexpr std::size_t MAX_CLASS_BYTES = std::size_t(8) << 20;

    BulkArena() = default;
    // Gives every region back; blocks still out must not be used afterwards.
    ~BulkArena();
    BulkArena(const BulkArena&) = delete;
    BulkArena& operator=(const BulkArena&) = delete;

    // A block of at least bytes bytes, aligned to 64. Throws std::bad_alloc when the system has
    // no memory left. Safe to call from several threads.
    void* Allocate(std::size_t bytes);
    // Returns block, which Allocate gave for the same bytes. A null block is ignored.
    void Free(void* block, std::size_t bytes) noexcept;

    // Blocks handed out and not yet freed.
    std::size_t LiveBlocks() const;
    // Bytes of all regions held from the system.
    std::size_t RegionBytes() const;

    // The size a request of bytes up to MAX_CLASS_BYTES is rounded up to: a multiple of 64 below
    // MIN_BLOCK_BYTES, above it eight classes per doubling, so at most one eighth is lost.
    static std::size_t ClassSize(std::size_t bytes);

private:
    struct Region {
        void* base = nullptr;
        std::size_t bytes = 0;
    };
    struct FreeBlock {
        FreeBlock* next = nullptr;
    };

    static std::size_t ClassIndex(std::size_t bytes);
    void* TakeFromRegions(std::size_t classBytes);
    void StartRegion(std::size_t atLeast);
    void ShelveTail();
    void ReleaseAll() noexcept;

    mutable std::mutex mutex_;
    std::vector<Region> regions_;
    std::vector<FreeBlock*> freeLists_;
    char* next_ = nullptr;
    char* end_ = nullptr;
    std::size_t liveBlocks_ = 0;
    std::size_t regionBytes_ = 0;
};

// The arena every BulkAllocator of the process draws on.
BulkArena& ProcessBulkArena();

// A standard allocator over the process's bulk arena, for vectors that may grow large. Small
// requests go to operator new. Builds with AddressSanitizer use operator new throughout, so that
// overruns of these buffers are still caught.
template <class T> struct BulkAllocator {
    using value_type = T;
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "plain operator new must align T");

    BulkAllocator() noexcept = default;
    template <class U> BulkAllocator(const BulkAllocator<U>&) noexcept { }

    T* allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        if (UsesArena(bytes))
            return static_cast<T*>(ProcessBulkArena().Allocate(bytes));
        return static_cast<T*>(::operator new(bytes));
    }

    void deallocate(T* p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (UsesArena(bytes))
            ProcessBulkArena().Free(p, bytes);
        else
            ::operator delete(p);
    }

    template <class U> bool operator==(const BulkAllocator<U>&) const noexcept { return true; }

private:
    static bool UsesArena(std::size_t bytes)
    {
#if VX_ADDRESS_SANITIZER
        (void)bytes;
        return false;
#else
        return bytes >= BulkArena::MIN_BLOCK_BYTES;
#endif
    }
};

// A base that makes a class's objects come from the bulk arena: for records made by the ten
// thousand that live until the end of an export. Deleting through a pointer to a base class
// needs a virtual destructor, as always.
struct BulkAllocated {
    static void* operator new(std::size_t bytes)
    {
#if VX_ADDRESS_SANITIZER
        return ::operator new(bytes);
#else
        return ProcessBulkArena().Allocate(bytes);
#endif
    }
    static void operator delete(void* p, std::size_t bytes) noexcept
    {
#if VX_ADDRESS_SANITIZER
        (void)bytes;
        ::operator delete(p);
#else
        ProcessBulkArena().Free(p, bytes);
#endif
    }
};

// A vector whose storage comes from the bulk arena.
template <class T> using BulkVector = std::vector<T, BulkAllocator<T>>;

} // namespace vx
