#pragma once
// Array: a dynamic array with contiguous storage, a 32-bit element count (NumItems), an allocated
// count (MaxItems) and a growth step (GrowBy, 16 at first). When full it grows by GrowBy elements,
// or doubles once MaxItems exceeds 64 x GrowBy.
//
// Elements of trivially copyable types are moved by reallocation; other types are moved into new
// storage and destroyed in the old. Sizes are computed in size_t and checked: a size that cannot
// be represented (more than 2^32 - 1 elements, or more bytes than the address space holds) throws
// std::bad_alloc, as a failed allocation does.

#include "base/Assert.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace vx {

template <class T> class Array {
    static_assert(alignof(T) <= alignof(std::max_align_t), "Array storage is malloc-aligned");

public:
    static constexpr uint32_t DEFAULT_GROW_BY = 16;

    Array() = default;
    Array(const Array& other) { CopyFrom(other); }
    Array(Array&& other) noexcept { Steal(other); }
    Array& operator=(const Array& other)
    {
        if (this != &other) {
            Array copy(other);
            Release();
            Steal(copy);
        }
        return *this;
    }
    Array& operator=(Array&& other) noexcept
    {
        if (this != &other) {
            Release();
            Steal(other);
        }
        return *this;
    }
    ~Array() { Release(); }

    uint32_t Count() const { return numItems_; }
    uint32_t NumItems() const { return numItems_; }
    uint32_t MaxItems() const { return maxItems_; }
    uint32_t GrowBy() const { return growBy_; }
    bool IsEmpty() const { return numItems_ == 0; }
    // The storage; null until the first growth.
    T* GetData() { return items_; }
    const T* GetData() const { return items_; }

    // The element at index. An index at or past Count() is reported and throws std::out_of_range.
    T& GetNo(uint32_t index) { return items_[CheckIndex(index)]; }
    const T& GetNo(uint32_t index) const { return items_[CheckIndex(index)]; }
    T& operator[](uint32_t index) { return GetNo(index); }
    const T& operator[](uint32_t index) const { return GetNo(index); }

    T* begin() { return items_; }
    T* end() { return items_ + numItems_; }
    const T* begin() const { return items_; }
    const T* end() const { return items_ + numItems_; }

    // Appends a value-initialised element, growing when full. Returns the new element.
    T& Append() { return Emplace(); }
    // Appends a copy of value (which may be an element of this array). Returns the new element.
    T& Append(const T& value) { return Emplace(value); }
    T& Append(T&& value) { return Emplace(std::move(value)); }

    // Reallocates to exactly n elements when MaxItems < n.
    void Reserve(std::size_t n)
    {
        if (maxItems_ < n)
            Reallocate(CheckedCount(n));
    }

    // Reserve(n), then NumItems = n: new elements are value-initialised, dropped ones destroyed.
    void SetCount(std::size_t n)
    {
        Reserve(n);
        const uint32_t count = static_cast<uint32_t>(n);
        for (uint32_t i = numItems_; i < count; ++i)
            new (items_ + i) T();
        DestroyRange(count, numItems_);
        numItems_ = count;
    }

    // Sets the growth step; 0 (always double) is accepted only once storage exists (reported as
    // "d||MaxItems" otherwise, keeping the old step).
    void SetGrowBy(uint32_t d)
    {
        if (VX_ASSERT_TEXT(d || maxItems_, "d||MaxItems"))
            growBy_ = d;
    }

    // The last element, or null on an empty array (reported as "NumItems").
    T* Peek()
    {
        if (!VX_ASSERT_TEXT(numItems_, "NumItems"))
            return nullptr;
        return items_ + numItems_ - 1;
    }

    // Removes and returns the last element; an empty array is reported as "NumItems" and gives a
    // value-initialised element.
    T Pop()
    {
        if (!VX_ASSERT_TEXT(numItems_, "NumItems"))
            return T();
        T last(std::move(items_[numItems_ - 1]));
        DestroyRange(numItems_ - 1, numItems_);
        --numItems_;
        return last;
    }

    // Removes the element at index, shifting the later ones down. A bad index is reported and
    // changes nothing.
    void RemoveAt(uint32_t index)
    {
        if (!VX_ASSERT(index < numItems_))
            return;
        for (uint32_t i = index; i + 1 < numItems_; ++i)
            items_[i] = std::move(items_[i + 1]);
        DestroyRange(numItems_ - 1, numItems_);
        --numItems_;
    }

    // Destroys every element; the storage is kept.
    void Clear()
    {
        DestroyRange(0, numItems_);
        numItems_ = 0;
    }

private:
    static constexpr bool RELOCATE_BY_REALLOC = std::is_trivially_copyable_v<T>;

    uint32_t CheckIndex(uint32_t index) const
    {
        if (!VX_ASSERT(index < numItems_))
            throw std::out_of_range("Array index out of range");
        return index;
    }

    static uint32_t CheckedCount(std::size_t n)
    {
        if (n > std::numeric_limits<uint32_t>::max()
            || n > std::numeric_limits<std::size_t>::max() / sizeof(T))
            throw std::bad_alloc();
        return static_cast<uint32_t>(n);
    }

    template <class... Args> T& Emplace(Args&&... args)
    {
        if (numItems_ >= maxItems_) {
            // The argument may live in the storage about to move: take a copy first.
            T value(std::forward<Args>(args)...);
            Grow();
            if (!VX_ASSERT_TEXT(numItems_ < maxItems_, "NumItems < MaxItems"))
                throw std::bad_alloc();
            T* place = new (items_ + numItems_) T(std::move(value));
            ++numItems_;
            return *place;
        }
        T* place = new (items_ + numItems_) T(std::forward<Args>(args)...);
        ++numItems_;
        return *place;
    }

    // Grows by GrowBy, or doubles once MaxItems exceeds 64 x GrowBy (a step of 0 doubles too).
    void Grow()
    {
        const uint32_t old_length = maxItems_;
        std::size_t step = growBy_;
        if (maxItems_ > 64 * step)
            step = maxItems_;
        if (step == 0)
            step = DEFAULT_GROW_BY;
        Reallocate(CheckedCount(static_cast<std::size_t>(maxItems_) + step));
        VX_ASSERT_TEXT(old_length < maxItems_, "old_length < MaxItems");
    }

    void Reallocate(uint32_t count)
    {
        const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(T);
        if constexpr (RELOCATE_BY_REALLOC) {
            void* storage = std::realloc(items_, bytes);
            if (!storage)
                throw std::bad_alloc();
            items_ = static_cast<T*>(storage);
        } else {
            T* storage = static_cast<T*>(std::malloc(bytes));
            if (!storage)
                throw std::bad_alloc();
            uint32_t moved = 0;
            try {
                for (; moved < numItems_; ++moved)
                    new (storage + moved) T(std::move_if_noexcept(items_[moved]));
            } catch (...) {
                for (uint32_t i = 0; i < moved; ++i)
                    storage[i].~T();
                std::free(storage);
                throw;
            }
            DestroyRange(0, numItems_);
            std::free(items_);
            items_ = storage;
        }
        maxItems_ = count;
    }

    void DestroyRange(uint32_t from, uint32_t to)
    {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            for (uint32_t i = from; i < to; ++i)
                items_[i].~T();
        }
    }

    void CopyFrom(const Array& other)
    {
        growBy_ = other.growBy_;
        if (other.maxItems_ == 0)
            return;
        try {
            Reallocate(other.maxItems_);
            for (uint32_t i = 0; i < other.numItems_; ++i) {
                new (items_ + i) T(other.items_[i]);
                numItems_ = i + 1;
            }
        } catch (...) {
            Release();
            throw;
        }
    }

    void Steal(Array& other) noexcept
    {
        items_ = std::exchange(other.items_, nullptr);
        numItems_ = std::exchange(other.numItems_, 0);
        maxItems_ = std::exchange(other.maxItems_, 0);
        growBy_ = std::exchange(other.growBy_, DEFAULT_GROW_BY);
    }

    void Release() noexcept
    {
        DestroyRange(0, numItems_);
        std::free(items_);
        items_ = nullptr;
        numItems_ = 0;
        maxItems_ = 0;
    }

    T* items_ = nullptr;
    uint32_t numItems_ = 0;
    uint32_t maxItems_ = 0;
    uint32_t growBy_ = DEFAULT_GROW_BY;
};

} // namespace vx
