#pragma once
// What the plug-in library's four entry points answer; the entry points themselves are plain C
// functions in the library target and only forward here.

#include "host/PluginInterface.h"

#include <cstdint>

namespace vx {

// The library description; null while no module handle is stored.
const char* GetLibraryDescription();
// The number of classes in the library: 1.
int GetLibraryClassCount();
// The descriptor of class index: the exporter's for 0, null for any other index.
ClassDesc* GetLibraryClassDesc(int index);
// kPluginApiVersion.
std::uint32_t GetLibraryVersion();

} // namespace vx
