#include "scenefile/SceneTextCheck.h"

namespace vx {

namespace {

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the UTF-8 sequence at text[i], or 0 when it is not valid.
size_t GetSequenceLength(std::string_view text, size_t i)
{
    const auto at = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = at(i);
    if (c < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0; // no overlong forms
        if (c == 0xED)
            high = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        if (c == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (size_t k = 2; k < length; ++k)
        if (!IsContinuation(at(i + k)))
            return 0;
    return length;
}

} // namespace

TextPosition FindTextPosition(std::string_view text, size_t offset)
{
    TextPosition position;
    const size_t end = offset < text.size() ? offset : text.size();
    for (size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++position.line;
            position.column = 1;
        } else if (!IsContinuation(c)) {
            ++position.column;
        }
    }
    return position;
}

std::optional<TextFault> CheckSceneText(std::string_view text, int maxDepth)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (size_t i = 0; i < text.size();) {
        const size_t length = GetSequenceLength(text, i);
        if (length == 0)
            return TextFault {TextFault::Kind::InvalidUtf8, i, "the text is not valid UTF-8"};
        if (length == 1) {
            const char c = text[i];
            if (inString) {
                if (escaped)
                    escaped = false;
                else if (c == '\\')
                    escaped = true;
                else if (c == '"')
                    inString = false;
            } else if (c == '"') {
                inString = true;
            } else if (c == '[' || c == '{') {
                if (++depth > maxDepth)
                    return TextFault {TextFault::Kind::TooDeep, i,
                        "arrays and objects are nested deeper than " + std::to_string(maxDepth) + " levels"};
            } else if ((c == ']' || c == '}') && depth > 0) {
                --depth;
            }
        }
        i += length;
    }
    return std::nullopt;
}

} // namespace vx
