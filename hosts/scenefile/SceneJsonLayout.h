#pragma once
// The layout of a written scene file: readable and compact. Objects put one field on a line;
// arrays of plain values (a point, a colour, a face) stand on one line; other arrays put one item
// on a line.

#include <nlohmann/json.hpp>

#include <string>

namespace vx {

// document as indented JSON text in the layout above, ending in a line break. Text that is not
// UTF-8 is replaced (U+FFFD), not refused.
std::string FormatSceneJson(const nlohmann::ordered_json& document);

} // namespace vx
