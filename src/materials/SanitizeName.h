#pragma once
// The cleaning of material and texture names for the design: printable, single-byte text.

#include "base/FixedString.h"

namespace vx {

// At most 255 bytes of text (a null text counts as empty), without leading and trailing bytes of
// value 32 or less; then every byte below 32 becomes "_" and every byte of 128 or more "?".
FixedString SanitizeName(const char* text);

} // namespace vx
