#pragma once
// Checks on a scene file's raw text before it is parsed: valid UTF-8 throughout, and JSON nesting
// within the limit (so that neither the parser nor the loader descends without bound).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

struct TextPosition {
    int line = 1;
    int column = 1;
};

// The 1-based line and column (counted in characters) of the byte at offset; an offset past the
// end gives the position just after the last character.
TextPosition FindTextPosition(std::string_view text, size_t offset);

struct TextFault {
    enum class Kind {
        InvalidUtf8,
        TooDeep,
    };
    Kind kind = Kind::InvalidUtf8;
    size_t offset = 0;
    std::string message;
};

// The first fault of text, or nothing: a byte sequence that is not UTF-8 (overlong forms,
// surrogates and values above U+10FFFF included), or an array or object opened deeper than
// maxDepth outside strings.
std::optional<TextFault> CheckSceneText(std::string_view text, int maxDepth);

} // namespace vx
