#pragma once
// PointerMap: an open-addressing table from keys (addresses of host objects, or other values up
// to pointer width) to pointer values. Keys are compared and hashed at full pointer width: the home
// slot is (key x 0x9E3779B97F4A7C15 modulo 2^64) >> (64 - log2 capacity). A slot is free while
// its value is the empty value (null unless given). Lookups probe at most "longest probe" slots
// from the home slot, the longest distance any insertion has needed since the last clear or
// growth.
//
// The table starts with 64 slots at its first insertion and doubles when an insertion finds
// used >= capacity >> load shift (half full). Storing the empty value leaves the slot free; it is
// still counted in used until the next growth or Clear.

#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

namespace vx {

template <class V> class PointerMap {
    static_assert(std::is_trivially_copyable_v<V>, "PointerMap values are pointers or plain values");

public:
    using Key = uintptr_t;
    static constexpr uint64_t FIBONACCI_64 = 0x9E3779B97F4A7C15ull;

    explicit PointerMap(V emptyValue = V {})
        : empty_(emptyValue)
    {
    }
    PointerMap(const PointerMap&) = delete;
    PointerMap& operator=(const PointerMap&) = delete;
    PointerMap(PointerMap&& other) noexcept { TakeFrom(other); }
    PointerMap& operator=(PointerMap&& other) noexcept
    {
        if (this != &other) {
            delete[] slots_;
            TakeFrom(other);
        }
        return *this;
    }
    ~PointerMap() { delete[] slots_; }

    static Key ToKey(const void* address) { return reinterpret_cast<Key>(address); }

    // Stores value under key, growing first when used >= capacity >> load shift. Returns the
    // value it replaces, or the empty value when the key was not present.
    V Set(Key key, V value)
    {
        if (used_ >= (capacity_ >> loadShift_))
            Grow();
        const std::ptrdiff_t slot = SlotOf(key);
        if (slot >= 0)
            return std::exchange(slots_[slot].value, value);
        Place(key, value);
        return empty_;
    }
    V Set(const void* key, V value) { return Set(ToKey(key), value); }

    // The value under key, or the empty value.
    V Find(Key key) const
    {
        const std::ptrdiff_t slot = SlotOf(key);
        return slot >= 0 ? slots_[slot].value : empty_;
    }
    V Find(const void* key) const { return Find(ToKey(key)); }

    // Frees every slot; the capacity stays, used and longest probe become 0.
    void Clear()
    {
        for (std::size_t i = 0; i < capacity_; ++i)
            slots_[i].value = empty_;
        used_ = 0;
        longestProbe_ = 0;
    }

    std::size_t Used() const { return used_; }
    std::size_t Capacity() const { return capacity_; }
    std::size_t LongestProbe() const { return longestProbe_; }

    // The home slot of key (0 before the first insertion).
    std::size_t HomeSlot(Key key) const
    {
        if (capacity_ == 0)
            return 0;
        return static_cast<std::size_t>((static_cast<uint64_t>(key) * FIBONACCI_64) >> shift_);
    }

    // The slot that holds key with a live value, or -1.
    std::ptrdiff_t SlotOf(Key key) const
    {
        const std::size_t home = HomeSlot(key);
        for (std::size_t distance = 0; distance < longestProbe_; ++distance) {
            const std::size_t slot = (home + distance) & mask_;
            if (slots_[slot].value != empty_ && slots_[slot].key == key)
                return static_cast<std::ptrdiff_t>(slot);
        }
        return -1;
    }

    // Calls visit(key, value) for every live slot, in slot order.
    template <class Visit> void ForEach(Visit&& visit) const
    {
        for (std::size_t i = 0; i < capacity_; ++i) {
            if (slots_[i].value != empty_)
                visit(slots_[i].key, slots_[i].value);
        }
    }

private:
    struct Slot {
        Key key;
        V value;
    };

    // Stores the pair in the first free slot from the home slot on.
    void Place(Key key, V value)
    {
        const std::size_t home = HomeSlot(key);
        for (std::size_t distance = 0;; ++distance) {
            Slot& slot = slots_[(home + distance) & mask_];
            if (slot.value == empty_) {
                slot.key = key;
                slot.value = value;
                ++used_;
                if (distance + 1 > longestProbe_)
                    longestProbe_ = distance + 1;
                return;
            }
        }
    }

    // First use: the smallest power of two from 2 on that holds 32 << load shift. Afterwards the
    // capacity doubles and every live entry is placed again, in slot order.
    void Grow()
    {
        std::size_t capacity = 2;
        if (capacity_ == 0) {
            while (capacity < (std::size_t(32) << loadShift_))
                capacity <<= 1;
        } else {
            if (capacity_ > SIZE_MAX / 2 / sizeof(Slot))
                throw std::bad_alloc();
            capacity = capacity_ * 2;
        }
        Slot* fresh = new Slot[capacity];
        for (std::size_t i = 0; i < capacity; ++i)
            fresh[i] = Slot {0, empty_};
        Slot* old = std::exchange(slots_, fresh);
        const std::size_t oldCapacity = std::exchange(capacity_, capacity);
        unsigned log2 = 0;
        while ((std::size_t(1) << log2) < capacity)
            ++log2;
        shift_ = 64 - log2;
        mask_ = capacity - 1;
        used_ = 0;
        longestProbe_ = 0;
        for (std::size_t i = 0; i < oldCapacity; ++i) {
            if (old[i].value != empty_)
                Place(old[i].key, old[i].value);
        }
        delete[] old;
    }

    void TakeFrom(PointerMap& other) noexcept
    {
        used_ = std::exchange(other.used_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        longestProbe_ = std::exchange(other.longestProbe_, 0);
        shift_ = std::exchange(other.shift_, 64);
        mask_ = std::exchange(other.mask_, 0);
        loadShift_ = other.loadShift_;
        empty_ = other.empty_;
        slots_ = std::exchange(other.slots_, nullptr);
    }

    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
    std::size_t longestProbe_ = 0;
    unsigned shift_ = 64;
    std::size_t mask_ = 0;
    unsigned loadShift_ = 1;
    V empty_;
    Slot* slots_ = nullptr;
};

} // namespace vx
