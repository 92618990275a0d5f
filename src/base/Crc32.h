#pragma once
// CRC-32 of IEEE 802.3 (reflected, polynomial 0xEDB88320, initial value 0xFFFFFFFF, final value
// complemented). Name-derived identifiers and buffer file names are made from it.

#include <cstddef>
#include <cstdint>

namespace vx {

// The CRC-32 of length bytes at data; a null buffer counts as empty.
uint32_t Crc32(const void* data, std::size_t length);

// The CRC-32 of text and its terminating zero byte ("abc" is checksummed as four bytes); a null
// text yields 0.
uint32_t Crc32OfText(const char* text);

// A CRC-32 over several buffers in a row: Start, any number of Update, Finish.
class Crc32Accumulator {
public:
    // Sets the running value to 0xFFFFFFFF.
    void Start() { value_ = 0xFFFFFFFFu; }
    // Folds length bytes at data into the running value; a null buffer adds nothing.
    void Update(const void* data, std::size_t length);
    // The checksum of everything folded in since Start (the complement of the running value).
    uint32_t Finish() const { return ~value_; }

private:
    uint32_t value_ = 0xFFFFFFFFu;
};

} // namespace vx
