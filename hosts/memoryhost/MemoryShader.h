#pragma once
// The in-memory shader plug-in of a standard material: colours and parameter values by identifier.

#include "host/HostShader.h"

#include <map>

namespace vx {

class MemoryShader final : public HostShader {
public:
    HostClassId classId;
    HostColor ambient;
    HostColor diffuse;
    HostColor specular;
    std::map<int, int> intParams;
    std::map<int, float> floatParams;
    std::map<int, HostColor> colorParams;

    HostClassId GetClassId() const override { return classId; }
    HostColor GetAmbient() const override { return ambient; }
    HostColor GetDiffuse() const override { return diffuse; }
    HostColor GetSpecular() const override { return specular; }
    int GetParamInt(int id) const override;
    float GetParamFloat(int id) const override;
    HostColor GetParamColor(int id) const override;
};

} // namespace vx
