#include "base/FixedString.h"

#include "base/Assert.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

namespace vx {

namespace {

constexpr std::size_t MAX_LENGTH = STRING_SIZE - 1;

bool IsUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Length of text, but reading no further than limit + 1 bytes.
std::size_t BoundedLength(const char* text, std::size_t limit)
{
    const void* end = std::memchr(text, '\0', limit + 1);
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : limit + 1;
}

} // namespace

std::size_t FitUtf8Cut(const char* text, std::size_t length)
{
    // A UTF-8 sequence has at most three continuation bytes; more means the text is not UTF-8
    // and is cut where asked.
    std::size_t keep = length;
    for (int back = 0; back < 3 && keep > 0 && IsUtf8Continuation(text[keep]); ++back)
        --keep;
    if (IsUtf8Continuation(text[keep]))
        return length;
    return keep;
}

void FixedString::CopyAt(int used, const char* text, std::size_t available)
{
    std::size_t length = BoundedLength(text, available);
    if (length > available)
        length = FitUtf8Cut(text, available);
    std::memmove(text_ + used, text, length);
    text_[used + static_cast<int>(length)] = '\0';
}

void FixedString::Assign(const char* text)
{
    if (!text) {
        Clear();
        return;
    }
    CopyAt(0, text, MAX_LENGTH);
}

void FixedString::AssignFirst(const char* text, int n)
{
    if (!text || n <= 0) {
        Clear();
        return;
    }
    const std::size_t wanted = static_cast<std::size_t>(n);
    if (wanted > MAX_LENGTH) {
        Assign(text);
        return;
    }
    const std::size_t length = BoundedLength(text, wanted - 1);
    std::memmove(text_, text, length);
    text_[length] = '\0';
}

void FixedString::AssignFrom(const FixedString& other, int i)
{
    if (!VX_ASSERT_TEXT(i >= 0 && i < STRING_SIZE, "_smaller(i,STRING_SIZE)")) {
        Clear();
        return;
    }
    if (i > other.Length()) {
        Clear();
        return;
    }
    std::memmove(text_, other.text_ + i, static_cast<std::size_t>(other.Length() - i) + 1);
}

void FixedString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void FixedString::FormatV(const char* format, va_list args)
{
    if (!format) {
        Clear();
        return;
    }
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(text_, STRING_SIZE, format, args);
    if (length < 0) {
        Clear();
    } else if (length >= STRING_SIZE) {
        // Cut: format the whole text once more so that the cut can respect character bounds.
        std::string whole(static_cast<std::size_t>(length), '\0');
        std::vsnprintf(whole.data(), whole.size() + 1, format, again);
        Assign(whole.c_str());
    }
    va_end(again);
}

void FixedString::Append(const char* text)
{
    if (!text)
        return;
    const int used = Length();
    CopyAt(used, text, MAX_LENGTH - static_cast<std::size_t>(used));
}

FixedString FixedString::First(const char* text, int n)
{
    FixedString result;
    result.AssignFirst(text, n);
    return result;
}

FixedString FixedString::Formatted(const char* format, ...)
{
    FixedString result;
    va_list args;
    va_start(args, format);
    result.FormatV(format, args);
    va_end(args);
    return result;
}

FixedString FixedString::Concat(const char* a, const char* b)
{
    FixedString result(a);
    result.Append(b);
    return result;
}

FixedString FixedString::FromInt32(int32_t value)
{
    return Formatted("%" PRId32, value);
}

FixedString FixedString::FromHex32(uint32_t value)
{
    return Formatted("0x%08" PRIX32, value);
}

int FixedString::Length() const
{
    const std::size_t length = BoundedLength(text_, MAX_LENGTH);
    return static_cast<int>(length < MAX_LENGTH ? length : MAX_LENGTH);
}

bool FixedString::Equals(const char* text) const
{
    return Compare(text) == 0;
}

int FixedString::Compare(const char* text) const
{
    return std::strcmp(text_, text ? text : "");
}

} // namespace vx
