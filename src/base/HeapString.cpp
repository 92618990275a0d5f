#include "base/HeapString.h"

#include "base/Assert.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <new>
#include <utility>

namespace vx {

namespace {

std::size_t SafeLength(const char* text)
{
    return text ? std::strlen(text) : 0;
}

// A new zero-terminated buffer holding the given pieces one after the other, or null when they
// are all empty.
char* JoinPieces(std::initializer_list<std::pair<const char*, std::size_t>> pieces)
{
    std::size_t total = 0;
    for (const auto& [text, length] : pieces) {
        if (length > SIZE_MAX - 1 - total)
            throw std::bad_alloc();
        total += length;
    }
    if (total == 0)
        return nullptr;
    char* buffer = new char[total + 1];
    char* out = buffer;
    for (const auto& [text, length] : pieces) {
        if (length > 0)
            std::memcpy(out, text, length);
        out += length;
    }
    *out = '\0';
    return buffer;
}

// Length of text, but at most limit (reads no further).
std::size_t LengthUpTo(const char* text, std::size_t limit)
{
    const void* end = std::memchr(text, '\0', limit);
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : limit;
}

} // namespace

HeapString::HeapString(const char* text)
    : text_(JoinPieces({{text, SafeLength(text)}}))
{
}

HeapString HeapString::First(const char* text, std::ptrdiff_t n)
{
    HeapString result;
    if (text && n > 0)
        result.text_ = JoinPieces({{text, LengthUpTo(text, static_cast<std::size_t>(n))}});
    return result;
}

HeapString::HeapString(const char* a, const char* b)
    : text_(JoinPieces({{a, SafeLength(a)}, {b, SafeLength(b)}}))
{
}

HeapString::HeapString(const char* a, const char* b, const char* c)
    : text_(JoinPieces({{a, SafeLength(a)}, {b, SafeLength(b)}, {c, SafeLength(c)}}))
{
}

HeapString::HeapString(const HeapString& other)
    : HeapString(other.text_)
{
}

HeapString::HeapString(HeapString&& other) noexcept
    : text_(std::exchange(other.text_, nullptr))
{
}

HeapString& HeapString::operator=(const HeapString& other)
{
    Assign(other.text_);
    return *this;
}

HeapString& HeapString::operator=(HeapString&& other) noexcept
{
    if (this != &other)
        Adopt(std::exchange(other.text_, nullptr));
    return *this;
}

HeapString& HeapString::operator=(const char* text)
{
    Assign(text);
    return *this;
}

HeapString::~HeapString()
{
    delete[] text_;
}

void HeapString::Adopt(char* text)
{
    delete[] text_;
    text_ = text;
}

void HeapString::Assign(const char* text)
{
    Adopt(JoinPieces({{text, SafeLength(text)}}));
}

void HeapString::Append(const char* text)
{
    const std::size_t length = SafeLength(text);
    if (length == 0)
        return;
    Adopt(JoinPieces({{text_, Length()}, {text, length}}));
}

HeapString HeapString::Substring(std::ptrdiff_t i, std::ptrdiff_t n) const
{
    if (!VX_ASSERT_TEXT(i >= 0, "i>=0"))
        return HeapString();
    const std::size_t length = Length();
    const std::size_t start = static_cast<std::size_t>(i);
    if (n <= 0 || start >= length)
        return HeapString();
    const std::size_t count = std::min(static_cast<std::size_t>(n), length - start);
    return First(text_ + start, static_cast<std::ptrdiff_t>(count));
}

std::ptrdiff_t HeapString::IndexOf(char c) const
{
    if (!text_)
        return -1;
    const char* found = std::strchr(text_, c);
    return found && *found ? found - text_ : -1;
}

std::ptrdiff_t HeapString::LastIndexOf(char c) const
{
    if (!text_)
        return -1;
    const char* found = std::strrchr(text_, c);
    return found && *found ? found - text_ : -1;
}

std::size_t HeapString::Length() const
{
    return SafeLength(text_);
}

void HeapString::Clear()
{
    Adopt(nullptr);
}

bool operator==(const HeapString& a, const HeapString& b)
{
    return std::strcmp(a.c_str(), b.c_str()) == 0;
}

} // namespace vx
