#pragma once
// The plug-in's string table: the texts the host reads through the library and the descriptor.

namespace vx {

constexpr int kStringLibraryDescription = 1;
constexpr int kStringCategory = 2;
constexpr int kStringClassName = 3;
constexpr int kStringParameters = 4;
constexpr int kStringSpin = 5;

// The text of string id, or null for an unknown id. The text is constant and lives as long as the
// library (no shared buffer, so two answers never overwrite each other).
const char* GetPluginString(int id);

} // namespace vx
