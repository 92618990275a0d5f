#pragma once
// ZR30ExpClassDesc: the class descriptor through which the host makes VNX30MaxExporter objects.

#include "host/PluginInterface.h"

namespace vx {

// The exporter's class identifier.
inline constexpr PluginClassId kExporterClassId {0x5B930AC4u, 0x561F12ABu};
constexpr const char* kExporterInternalName = "VNX30MaxExporter";

class ZR30ExpClassDesc final : public ClassDesc {
public:
    int IsPublic() override { return 1; }
    // A new VNX30MaxExporter (as SceneExport*) per call, whatever loading is.
    void* Create(int loading) override;
    int BeginCreate(void*) override { return 0; }
    int EndCreate(void*) override { return 0; }
    const char* ClassName() override;
    std::uint32_t SuperClassID() override { return kSuperClassSceneExport; }
    PluginClassId ClassID() override { return kExporterClassId; }
    const char* Category() override;
    int OkToCreate(void*) override { return 1; }
    int HasClassParams() override { return 0; }
    void EditClassParams(void*) override { }
    const char* InternalName() override { return kExporterInternalName; }
    void* HInstance() override;
};

// The library's one descriptor instance.
ZR30ExpClassDesc& GetExporterClassDesc();

} // namespace vx
