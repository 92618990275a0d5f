#include "exporter/ZR30ExpClassDesc.h"

#include "exporter/ModuleHandle.h"
#include "exporter/PluginStrings.h"
#include "exporter/VNX30MaxExporter.h"

namespace vx {

void* ZR30ExpClassDesc::Create(int)
{
    SceneExport* exporter = new VNX30MaxExporter;
    return exporter;
}

const char* ZR30ExpClassDesc::ClassName()
{
    return GetPluginString(kStringClassName);
}

const char* ZR30ExpClassDesc::Category()
{
    return GetPluginString(kStringCategory);
}

void* ZR30ExpClassDesc::HInstance()
{
    return GetStoredModuleHandle();
}

ZR30ExpClassDesc& GetExporterClassDesc()
{
    static ZR30ExpClassDesc descriptor;
    return descriptor;
}

} // namespace vx
