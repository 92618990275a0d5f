#include "exporter/PluginLibrary.h"

#include "exporter/ModuleHandle.h"
#include "exporter/PluginStrings.h"
#include "exporter/ZR30ExpClassDesc.h"

namespace vx {

const char* GetLibraryDescription()
{
    if (!GetStoredModuleHandle())
        return nullptr;
    return GetPluginString(kStringLibraryDescription);
}

int GetLibraryClassCount()
{
    return 1;
}

ClassDesc* GetLibraryClassDesc(int index)
{
    return index == 0 ? &GetExporterClassDesc() : nullptr;
}

std::uint32_t GetLibraryVersion()
{
    return kPluginApiVersion;
}

} // namespace vx
