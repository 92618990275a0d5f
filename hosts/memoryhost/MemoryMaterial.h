#pragma once
// The in-memory material: one class for every material kind. It answers as a standard material
// when its class identifier is one of the standard material's.

#include "host/HostStandardMaterial.h"
#include "memoryhost/MemoryShader.h"

#include <memory>
#include <string>
#include <vector>

namespace vx {

// One map channel of a material: its texture, amount and enabled flag.
struct MemoryMaterialMap {
    HostTexture* texture = nullptr;
    float amount = 1.0f;
    bool enabled = true;
};

class MemoryMaterial final : public HostStandardMaterial {
public:
    MemoryMaterial(HostClassId classId, std::string name);

    // Values, public for building scenes; the defaults are those of the scene file format.
    HostColor ambient {0.6f, 0.6f, 0.6f};
    HostColor diffuse {0.6f, 0.6f, 0.6f};
    HostColor specular {0.9f, 0.9f, 0.9f};
    float shininess = 0.1f;
    float shininessStrength = 0.0f;
    float selfIllumination = 0.0f;
    bool selfIllumColorOn = false;
    HostColor selfIllumColor;
    float opacity = 1.0f;
    bool twoSided = false;
    bool wire = false;
    float wireSize = 1.0f;
    int shading = 1;
    bool faceted = false;
    int transparencyType = 2;
    // Map channels by index (the sub-texture slots); a standard material has at least 12 slots.
    std::vector<MemoryMaterialMap> maps;
    // Sub-material slots (null for an empty slot).
    std::vector<HostMaterial*> subMaterials;
    std::unique_ptr<MemoryShader> shader;

    // Sets map channel to map, growing the slots as needed (channels 0..255; others refused).
    void SetMap(int channel, MemoryMaterialMap map);

    HostClassId GetClassId() const override { return classId_; }
    const char* GetName() const override { return name_.c_str(); }
    int NumSubMtls() const override;
    HostMaterial* GetSubMtl(int index) const override;
    int NumSubTexmaps() const override;
    HostTexture* GetSubTexmap(int index) const override;
    HostColor GetAmbient() const override { return ambient; }
    HostColor GetDiffuse() const override { return diffuse; }
    HostColor GetSpecular() const override { return specular; }
    float GetShininess() const override { return shininess; }
    float GetShinStr() const override { return shininessStrength; }
    float GetXParency() const override { return 1.0f - opacity; }
    bool GetSelfIllumColorOn() const override { return selfIllumColorOn; }
    HostColor GetSelfIllumColor() const override { return selfIllumColor; }
    float GetWireSize() const override { return wireSize; }
    const HostStandardMaterial* AsStandardMaterial() const override;

    float GetSelfIllum() const override { return selfIllumination; }
    float GetOpacity() const override { return opacity; }
    bool GetTwoSided() const override { return twoSided; }
    bool GetWire() const override { return wire; }
    int GetShading() const override { return shading; }
    bool IsFaceted() const override { return faceted; }
    int GetTransparencyType() const override { return transparencyType; }
    bool GetMapEnabled(int channel) const override;
    float GetTexmapAmount(int channel) const override;
    const HostShader* GetShader() const override { return shader.get(); }

    static constexpr int kMaxMapChannels = 256;
    static constexpr int kStandardMapChannels = 12;

private:
    bool IsStandard() const;

    HostClassId classId_;
    std::string name_;
};

} // namespace vx
