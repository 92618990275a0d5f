#pragma once
// The text of a property key (name, type code) as the property dictionary knows it.

#include <string>

#include <cstdint>

namespace vx {

// name (null counts as empty) followed by the type code as an exact 32-bit value in "0x%08X"
// form, whole however long the name: ("Slope", 513) gives "Slope0x00000201", type -1 gives
// "...0xFFFFFFFF". Keys whose names differ only after 255 bytes stay apart.
std::string PropertyKeyText(const char* name, int32_t type);

} // namespace vx
