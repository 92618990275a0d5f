#pragma once
// PropertyKey: the key of a design property, a name text and a 32-bit type code. The text is kept
// whole (not cut to 255 bytes); the maps hash it with the text-plus-integer key kind.

#include "base/HashKeys.h"

#include <cstdint>
#include <string>

namespace ZR {

using PropertyKey = vx::TextIntKey;

// The key (name, type); a null name counts as empty.
inline PropertyKey MakePropertyKey(const char* name, int32_t type)
{
    return PropertyKey {name ? std::string(name) : std::string(), type};
}

} // namespace ZR
