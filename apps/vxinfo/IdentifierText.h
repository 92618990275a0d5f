#pragma once
// The identifier forms of the format, computed here on their own so that the inspector does not
// share the writer's code: the 36-character text of a 16-byte identifier and the name-derived
// identifier of a text, and the time a time-ordered identifier was made.

#include <cstdint>
#include <optional>
#include <string>

namespace vxinfo {

// The text "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x" of 16 stored bytes (the first three
// groups little-endian); "" when bytes is not 16 bytes long.
std::string IdentifierText(const std::string& bytes);

// The 16 bytes of the name-derived identifier of text: bytes 0-3 the CRC-32 of the text and its
// terminating zero (little-endian), bytes 4-15 the first characters of the text, the rest zero.
std::string NameIdentifierBytes(const std::string& text);

// The Unix time in milliseconds at which the time-ordered (version 7) identifier of 16 stored
// bytes was made: 48 bits, the first group holding the high 32 and the second the low 16 (both
// little-endian). Nothing when bytes is not 16 bytes long or not a version 7 identifier (the
// unstamped all-zero identifier, a name-derived one).
std::optional<int64_t> IdentifierMilliseconds(const std::string& bytes);

} // namespace vxinfo
