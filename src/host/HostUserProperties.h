#pragma once
// Typed user properties: "key = value" lines inside a node's user property text.
//
// A line is the text between two LF; a CR before the LF belongs to the line ending. A line holds a
// typed property when it has a "="; its key is the text before the first "=" and its value the text
// after it, both without surrounding blanks (bytes of value 32 or less). Keys match exactly
// (case-sensitive); the first matching line wins.

#include <optional>
#include <string>
#include <string_view>

namespace vx {

// The value of the first line whose key is key, or nothing.
std::optional<std::string> FindUserPropValue(std::string_view text, std::string_view key);

// text with the first line whose key is key replaced by "key = value" (its line ending kept), or,
// when there is none, with that line appended (after an LF when text does not end in one) followed
// by an LF. CR and LF inside value become blanks. A key that is empty, has surrounding blanks or
// holds "=", CR or LF cannot be found again: text is returned unchanged.
std::string SetUserPropValue(std::string_view text, std::string_view key, std::string_view value);

// Parses a boolean value: "true"/"false" in any case, or a decimal integer (non-zero is true).
// Returns false, leaving result alone, for anything else.
bool ParseUserPropBool(std::string_view text, bool& result);

// Parses a decimal signed 32-bit integer (an optional sign, then digits, nothing else).
bool ParseUserPropInt(std::string_view text, int& result);

} // namespace vx
