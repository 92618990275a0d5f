#include "base/UniqueId.h"

#include "base/Crc32.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <pthread.h>
#include <sys/random.h>
#include <unistd.h>

namespace vx {

const DUniqueID DUniqueID::Null {};

namespace {

uint32_t ReadLe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16
        | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t ReadLe16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void WriteLe32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

void WriteLe16(uint8_t* p, uint16_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads the hexadecimal byte at text[at], text[at + 1]; never reads past a terminating zero.
bool ReadHexByte(const char* text, int at, uint8_t& byte)
{
    const int high = HexDigitValue(text[at]);
    if (high < 0)
        return false;
    const int low = HexDigitValue(text[at + 1]);
    if (low < 0)
        return false;
    byte = static_cast<uint8_t>(high << 4 | low);
    return true;
}

uint64_t MixBits(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// 64 bits mixed from the clock, the process and a counter: still keeps identifiers of this process
// apart when the kernel gives no random bits.
uint64_t FallbackBits()
{
    static uint64_t fallbackCounter = 0;
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return MixBits(static_cast<uint64_t>(now.tv_nsec) ^ static_cast<uint64_t>(now.tv_sec) << 30
        ^ static_cast<uint64_t>(getpid()) << 48 ^ ++fallbackCounter);
}

// Raised by one in every forked child (a fork handler does it), so that a child's count differs
// from the count its parent fetched the current batch under.
std::atomic<uint32_t>& ForkCount()
{
    static std::atomic<uint32_t> count {0};
    return count;
}

// Random bits from the kernel, fetched a batch at a time: a run makes an identifier for every
// record, and one system call each was a measurable share of a large export. The batch belongs
// to the process that fetched it, so a forked child fetches its own instead of repeating the
// parent's. Callers hold the identifier mutex.
class RandomPool {
public:
    RandomPool()
    {
        pthread_atfork(nullptr, nullptr, [] { ForkCount().fetch_add(1, std::memory_order_relaxed); });
    }

    uint64_t Next()
    {
        if (next_ == kBatch || owner_ != ForkCount().load(std::memory_order_relaxed))
            Refill();
        return next_ < kBatch ? bits_[next_++] : FallbackBits();
    }

private:
    void Refill()
    {
        owner_ = ForkCount().load(std::memory_order_relaxed);
        next_ = kBatch;
        ssize_t got = -1;
        do {
            got = getrandom(bits_, sizeof bits_, 0);
        } while (got < 0 && errno == EINTR);
        if (got == static_cast<ssize_t>(sizeof bits_))
            next_ = 0;
    }

    static constexpr std::size_t kBatch = 64;
    uint64_t bits_[kBatch] {};
    std::size_t next_ = kBatch;
    uint32_t owner_ = 0;
};

uint64_t UnixMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

// Time stamp, sequence number and random bits of the next identifier: the milliseconds never go
// back, and within one millisecond a 12-bit sequence counts up (borrowing the next millisecond
// when full).
void NextTimeSequenceAndRandom(uint64_t& milliseconds, uint16_t& sequence, uint64_t& random)
{
    static std::mutex mutex;
    static uint64_t lastMilliseconds = 0;
    static uint16_t lastSequence = 0;
    static RandomPool pool;
    std::lock_guard<std::mutex> lock(mutex);
    const uint64_t now = UnixMilliseconds();
    if (now > lastMilliseconds) {
        lastMilliseconds = now;
        lastSequence = 0;
    } else if (++lastSequence > 0x0FFF) {
        ++lastMilliseconds;
        lastSequence = 0;
    }
    milliseconds = lastMilliseconds;
    sequence = lastSequence;
    random = pool.Next();
}

} // namespace

DUniqueID DUniqueID::FromBytes(const uint8_t (&bytes)[DATA_SIZE])
{
    DUniqueID id;
    std::memcpy(id.bytes_, bytes, DATA_SIZE);
    return id;
}

// A version 7 (time-ordered) UUID in the GUID field order, so that its text form reads as a
// standard UUIDv7: 48 bits of Unix milliseconds, the version, a 12-bit sequence, the variant and
// 62 random bits.
void DUniqueID::CreateSequential()
{
    uint64_t milliseconds = 0;
    uint16_t sequence = 0;
    uint64_t random = 0;
    NextTimeSequenceAndRandom(milliseconds, sequence, random);
    WriteLe32(bytes_, static_cast<uint32_t>(milliseconds >> 16));
    WriteLe16(bytes_ + 4, static_cast<uint16_t>(milliseconds & 0xFFFFu));
    WriteLe16(bytes_ + 6, static_cast<uint16_t>(0x7000u | sequence));
    bytes_[8] = static_cast<uint8_t>(0x80u | ((random >> 56) & 0x3Fu));
    for (int i = 0; i < 7; ++i)
        bytes_[9 + i] = static_cast<uint8_t>(random >> (8 * i));
}

DUniqueID DUniqueID::NewSequential()
{
    DUniqueID id;
    id.CreateSequential();
    return id;
}

DUniqueID DUniqueID::FromName(const char* text)
{
    DUniqueID id;
    if (!text)
        return id;
    WriteLe32(id.bytes_, Crc32OfText(text));
    for (std::size_t i = 4; i < DATA_SIZE && text[i - 4] != '\0'; ++i)
        id.bytes_[i] = static_cast<uint8_t>(text[i - 4]);
    return id;
}

bool DUniqueID::FromString(const char* text)
{
    // Text positions of the 16 bytes as they read in the text (each group most significant
    // first), and where each lands in memory (the groups are stored little-endian).
    static constexpr int TEXT_POSITION[DATA_SIZE]
        = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
    static constexpr int MEMORY_INDEX[DATA_SIZE] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    static constexpr int HYPHENS[] = {8, 13, 18, 23};

    *this = Null;
    if (!text)
        return false;
    DUniqueID parsed;
    // Reads strictly left to right, so a short text fails at its terminating zero.
    int hyphen = 0;
    for (std::size_t k = 0; k < DATA_SIZE; ++k) {
        while (hyphen < 4 && HYPHENS[hyphen] < TEXT_POSITION[k]) {
            if (text[HYPHENS[hyphen]] != '-')
                return false;
            ++hyphen;
        }
        if (!ReadHexByte(text, TEXT_POSITION[k], parsed.bytes_[MEMORY_INDEX[k]]))
            return false;
    }
    *this = parsed;
    return true;
}

FixedString DUniqueID::ToString() const
{
    const auto byte = [this](int i) { return static_cast<unsigned>(bytes_[i]); };
    return FixedString::Formatted("%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x",
        static_cast<unsigned>(GetData1()), static_cast<unsigned>(GetData2()),
        static_cast<unsigned>(GetData3()), byte(8), byte(9), byte(10), byte(11), byte(12), byte(13), byte(14),
        byte(15));
}

bool DUniqueID::IsValid() const
{
    return !Equals(Null);
}

bool DUniqueID::Equals(const DUniqueID& other) const
{
    return std::memcmp(bytes_, other.bytes_, DATA_SIZE) == 0;
}

int DUniqueID::Compare(const DUniqueID& other) const
{
    const int order = std::memcmp(bytes_, other.bytes_, DATA_SIZE);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

uint32_t DUniqueID::Hash() const
{
    return ReadLe32(bytes_) ^ ReadLe32(bytes_ + 4) ^ ReadLe32(bytes_ + 8) ^ ReadLe32(bytes_ + 12);
}

uint32_t DUniqueID::GetData1() const
{
    return ReadLe32(bytes_);
}

uint16_t DUniqueID::GetData2() const
{
    return ReadLe16(bytes_ + 4);
}

uint16_t DUniqueID::GetData3() const
{
    return ReadLe16(bytes_ + 6);
}

} // namespace vx
