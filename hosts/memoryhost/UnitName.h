#pragma once
// The names of the host's units as users write them (scene files, command lines).

#include <optional>
#include <string_view>

namespace vx {

// The unit type code (kHostUnitInches...) of name: "inches", "feet", "miles", "millimeters",
// "centimeters", "meters", "kilometers", or the spellings "millimetres", "centimetres", "metres",
// "kilometres"; case-sensitive. Nothing for any other text.
std::optional<int> FindUnitTypeByName(std::string_view name);

} // namespace vx
