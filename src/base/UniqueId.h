#pragma once
// DUniqueID: a 128-bit identifier laid out like a Windows GUID, stored in this byte order in
// memory, in the database and wherever it is copied:
//   bytes 0-3  first group, unsigned 32-bit little-endian
//   bytes 4-5  second group, unsigned 16-bit little-endian
//   bytes 6-7  third group, unsigned 16-bit little-endian
//   bytes 8-15 eight single bytes
// A default-constructed identifier is DUniqueID::Null (all zero).

#include "base/FixedString.h"

#include <cstddef>
#include <cstdint>

namespace vx {

class DUniqueID {
public:
    static const DUniqueID Null;
    static constexpr std::size_t DATA_SIZE = 16;
    static constexpr int TEXT_LENGTH = 36;

    DUniqueID() = default;
    // The identifier made of 16 bytes in memory order.
    static DUniqueID FromBytes(const uint8_t (&bytes)[DATA_SIZE]);

    // Fills this identifier with a new, unique, time-ordered identifier; never Null.
    void CreateSequential();
    // A new identifier as CreateSequential makes it.
    static DUniqueID NewSequential();

    // A name-derived identifier, the same for the same text on every run: bytes 0-3 hold
    // Crc32OfText(text) little-endian, bytes 4-15 the first characters of the text (at most 12),
    // the rest zero. A null text gives Null.
    static DUniqueID FromName(const char* text);

    // Parses the 36-character text form (either case; characters after the 36th are ignored).
    // On a null or empty text, a missing hyphen or a pair that is not a hexadecimal byte, sets
    // this identifier to Null and returns false.
    bool FromString(const char* text);
    // The text form "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x": 36 lower-case characters.
    FixedString ToString() const;

    // True unless all 16 bytes are zero.
    bool IsValid() const;
    bool Equals(const DUniqueID& other) const;
    // -1, 0 or +1 by the 16 bytes in memory order as unsigned bytes.
    int Compare(const DUniqueID& other) const;
    // Exclusive-or of the four little-endian 32-bit words at bytes 0, 4, 8 and 12.
    uint32_t Hash() const;

    static constexpr std::size_t GetDataSize() { return DATA_SIZE; }
    const uint8_t* GetData() const { return bytes_; }

    // The three groups as numbers.
    uint32_t GetData1() const;
    uint16_t GetData2() const;
    uint16_t GetData3() const;

    friend bool operator==(const DUniqueID& a, const DUniqueID& b) { return a.Equals(b); }
    friend bool operator<(const DUniqueID& a, const DUniqueID& b) { return a.Compare(b) < 0; }

private:
    uint8_t bytes_[DATA_SIZE] = {};
};

static_assert(sizeof(DUniqueID) == DUniqueID::DATA_SIZE, "DUniqueID is exactly 16 bytes");

} // namespace vx
