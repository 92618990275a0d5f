#include "base/BulkArena.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vx {

namespace {

// The kernel's huge page; regions start on it so that each can be backed by whole huge pages.
constexpr std::size_t HUGE_PAGE_BYTES = std::size_t(2) << 20;
constexpr std::size_t FIRST_REGION_BYTES = std::size_t(8) << 20;
constexpr std::size_t LARGEST_REGION_BYTES = std::size_t(64) << 20;
constexpr int MIN_CLASS_EXPONENT = 10; // log2 of MIN_BLOCK_BYTES
constexpr int STEPS_PER_DOUBLING = 8;
constexpr int STEP_SHIFT = 3; // log2 of STEPS_PER_DOUBLING
// Below MIN_BLOCK_BYTES, classes are multiples of one cache line.
constexpr std::size_t SMALL_CLASS_STEP = 64;
constexpr std::size_t LARGEST_SMALL_CLASS = BulkArena::MIN_BLOCK_BYTES - SMALL_CLASS_STEP;
constexpr std::size_t SMALL_CLASSES = LARGEST_SMALL_CLASS / SMALL_CLASS_STEP;

static_assert(BulkArena::MIN_BLOCK_BYTES == std::size_t(1) << MIN_CLASS_EXPONENT);

std::size_t RoundUp(std::size_t bytes, std::size_t unit)
{
    return (bytes + unit - 1) / unit * unit;
}

int Exponent(std::size_t bytes)
{
    return static_cast<int>(std::bit_width(bytes)) - 1;
}

// Maps bytes (a multiple of HUGE_PAGE_BYTES) starting on a huge page boundary; null on failure.
void* MapRegion(std::size_t bytes)
{
#if defined(__linux__)
    // Map one huge page more and trim both ends, which leaves an aligned region.
    const std::size_t padded = bytes + HUGE_PAGE_BYTES;
    void* raw = mmap(nullptr, padded, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = RoundUp(start, HUGE_PAGE_BYTES);
    if (aligned > start)
        munmap(raw, aligned - start);
    const std::uintptr_t tail = aligned + bytes;
    const std::uintptr_t paddedEnd = start + padded;
    if (paddedEnd > tail)
        munmap(reinterpret_cast<void*>(tail), paddedEnd - tail);
    // Only advice: without huge pages the region works the same, with more faults.
    madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
#else
    return ::operator new(bytes, std::align_val_t(HUGE_PAGE_BYTES), std::nothrow);
#endif
}

void UnmapRegion(void* base, std::size_t bytes) noexcept
{
#if defined(__linux__)
    munmap(base, bytes);
#else
    (void)bytes;
    ::operator delete(base, std::align_val_t(HUGE_PAGE_BYTES));
#endif
}

} // namespace

BulkArena::~BulkArena()
{
    ReleaseAll();
}

std::size_t BulkArena::ClassSize(std::size_t bytes)
{
    if (bytes <= LARGEST_SMALL_CLASS)
        return RoundUp(std::max<std::size_t>(bytes, 1), SMALL_CLASS_STEP);
    bytes = std::max(bytes, MIN_BLOCK_BYTES);
    const std::size_t step = std::size_t(1) << (Exponent(bytes) - STEP_SHIFT);
    return RoundUp(bytes, step);
}

std::size_t BulkArena::ClassIndex(std::size_t bytes)
{
    if (bytes <= LARGEST_SMALL_CLASS)
        return ClassSize(bytes) / SMALL_CLASS_STEP - 1;
    bytes = std::max(bytes, MIN_BLOCK_BYTES);
    const int exponent = Exponent(bytes);
    const std::size_t steps = ClassSize(bytes) >> (exponent - STEP_SHIFT);
    // steps is 8 .. 16; 16 steps of one doubling are 8 steps of the next, which the sum agrees with.
    return SMALL_CLASSES + static_cast<std::size_t>(exponent - MIN_CLASS_EXPONENT) * STEPS_PER_DOUBLING
        + steps - STEPS_PER_DOUBLING;
}

void* BulkArena::Allocate(std::size_t bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    void* block = nullptr;
    if (bytes > MAX_CLASS_BYTES) {
        const std::size_t size = RoundUp(bytes, HUGE_PAGE_BYTES);
        regions_.reserve(regions_.size() + 1);
        block = MapRegion(size);
        if (!block)
            throw std::bad_alloc();
        regions_.push_back({block, size});
        regionBytes_ += size;
    } else {
        const std::size_t index = ClassIndex(bytes);
        if (index >= freeLists_.size())
            freeLists_.resize(index + 1, nullptr);
        if (FreeBlock* reused = freeLists_[index]) {
            freeLists_[index] = reused->next;
            block = reused;
        } else {
            block = TakeFromRegions(ClassSize(bytes));
        }
    }
    ++liveBlocks_;
    return block;
}

void BulkArena::Free(void* block, std::size_t bytes) noexcept
{
    if (!block)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (bytes > MAX_CLASS_BYTES) {
        const auto own = std::find_if(
            regions_.begin(), regions_.end(), [block](const Region& region) { return region.base == block; });
        if (own != regions_.end()) {
            UnmapRegion(own->base, own->bytes);
            regionBytes_ -= own->bytes;
            regions_.erase(own);
        }
    } else {
        const std::size_t index = ClassIndex(bytes);
        auto* freed = static_cast<FreeBlock*>(block);
        freed->next = freeLists_[index];
        freeLists_[index] = freed;
    }
    if (liveBlocks_ > 0 && --liveBlocks_ == 0)
        ReleaseAll();
}

std::size_t BulkArena::LiveBlocks() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return liveBlocks_;
}

std::size_t BulkArena::RegionBytes() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return regionBytes_;
}

void* BulkArena::TakeFromRegions(std::size_t classBytes)
{
    if (static_cast<std::size_t>(end_ - next_) < classBytes) {
        ShelveTail();
        StartRegion(classBytes);
    }
    void* block = next_;
    next_ += classBytes;
    return block;
}

void BulkArena::StartRegion(std::size_t atLeast)
{
    // Regions grow with the arena: a small export touches little, a large one maps few regions.
    std::size_t size = FIRST_REGION_BYTES;
    if (!regions_.empty())
        size = std::min(LARGEST_REGION_BYTES, regions_.back().bytes * 2);
    size = std::max(size, RoundUp(atLeast, HUGE_PAGE_BYTES));
    regions_.reserve(regions_.size() + 1);
    void* base = MapRegion(size);
    if (!base)
        throw std::bad_alloc();
    regions_.push_back({base, size});
    regionBytes_ += size;
    next_ = static_cast<char*>(base);
    end_ = next_ + size;
}

// The rest of the current region, too small for the request at hand, goes to the free lists as
// blocks of the largest classes that fit.
void BulkArena::ShelveTail()
{
    std::size_t rest = static_cast<std::size_t>(end_ - next_);
    while (rest >= SMALL_CLASS_STEP) {
        std::size_t size = std::min(rest / SMALL_CLASS_STEP * SMALL_CLASS_STEP, LARGEST_SMALL_CLASS);
        if (rest >= MIN_BLOCK_BYTES) {
            const std::size_t step = std::size_t(1) << (Exponent(rest) - STEP_SHIFT);
            size = std::min(rest / step * step, MAX_CLASS_BYTES);
        }
        auto* block = reinterpret_cast<FreeBlock*>(next_);
        const std::size_t index = ClassIndex(size);
        if (index >= freeLists_.size())
            freeLists_.resize(index + 1, nullptr);
        block->next = freeLists_[index];
        freeLists_[index] = block;
        next_ += size;
        rest -= size;
    }
    next_ = end_;
}

void BulkArena::ReleaseAll() noexcept
{
    for (const Region& region : regions_)
        UnmapRegion(region.base, region.bytes);
    regions_.clear();
    std::fill(freeLists_.begin(), freeLists_.end(), nullptr);
    next_ = nullptr;
    end_ = nullptr;
    regionBytes_ = 0;
    liveBlocks_ = 0;
}

BulkArena& ProcessBulkArena()
{
    // Never destroyed: vectors of static lifetime may still free into it while the process exits.
    static BulkArena* const arena = new BulkArena;
    return *arena;
}

} // namespace vx
