#include "exporter/PluginStrings.h"

namespace vx {

const char* GetPluginString(int id)
{
    switch (id) {
    case kStringLibraryDescription:
        return "export to VX";
    case kStringCategory:
        return "export to VX";
    case kStringClassName:
        return "VNX30MaxExporter";
    case kStringParameters:
        return "Parameters";
    case kStringSpin:
        return "Spin";
    default:
        return nullptr;
    }
}

} // namespace vx
