#include "base/TextHelpers.h"

#include "base/Assert.h"

#include <cstring>

namespace vx {

namespace {

bool IsWhiteSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

const char* SplitAt(const char* text, char c, FixedString* prefix)
{
    const char* found = text && c != '\0' ? std::strchr(text, c) : nullptr;
    if (!found) {
        if (prefix)
            prefix->Assign(text);
        return nullptr;
    }
    if (prefix)
        prefix->AssignFirst(text, static_cast<int>(found - text > STRING_SIZE ? STRING_SIZE : found - text));
    return found + 1;
}

int TakeFirstWord(FixedString& text, FixedString& word)
{
    const char* start = text.c_str();
    const char* begin = start;
    while (IsWhiteSpace(*begin))
        ++begin;
    const char* end = begin;
    while (*end && !IsWhiteSpace(*end))
        ++end;
    const int taken = static_cast<int>(end - start);
    word.AssignFirst(begin, static_cast<int>(end - begin));
    const char* rest = end;
    while (*rest == ' ')
        ++rest;
    Erase(text, 0, static_cast<int>(rest - start));
    return taken;
}

bool StartsWith(const char* text, const char* prefix)
{
    if (!prefix || !*prefix)
        return true;
    if (!text)
        return false;
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool StripPrefix(FixedString& text, const char* prefix)
{
    if (!StartsWith(text.c_str(), prefix))
        return false;
    if (prefix && *prefix)
        Erase(text, 0, static_cast<int>(std::strlen(prefix)));
    return true;
}

void Erase(FixedString& text, int position, int count)
{
    if (!VX_ASSERT(position >= 0 && count >= 0))
        return;
    const int length = text.Length();
    if (position >= length || count == 0)
        return;
    if (count > length - position)
        count = length - position;
    char* buffer = text.Buffer();
    std::memmove(buffer + position, buffer + position + count,
        static_cast<std::size_t>(length - position - count) + 1);
}

} // namespace vx
