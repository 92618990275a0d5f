#pragma once
// Reading the rows of a design database into a DesignContent.

#include "vxinfo/DesignContent.h"
#include "vxinfo/ReadOnlyDatabase.h"

#include <optional>
#include <string>

namespace vxinfo {

// Reads every table the inspector looks at. A table or column that cannot be read leaves its list
// empty and adds a line to unreadable; reading never stops early.
DesignContent LoadDesign(const ReadOnlyDatabase& db, const std::string& path);

// The bytes of the Files row id / the Textures row luid; nothing when the row is missing.
std::optional<std::string> ReadFileBytes(const ReadOnlyDatabase& db, int64_t id);
std::optional<std::string> ReadTextureBytes(const ReadOnlyDatabase& db, Luid luid);

} // namespace vxinfo
