#pragma once
// The standard material's own values (at time 0), beyond those every material answers.

#include "host/HostMaterial.h"

namespace vx {

class HostShader;

class HostStandardMaterial : public HostMaterial {
public:
    // Self-illumination amount (used when the self-illumination colour is off) and opacity, 0..1.
    virtual float GetSelfIllum() const = 0;
    virtual float GetOpacity() const = 0;
    virtual bool GetTwoSided() const = 0;
    virtual bool GetWire() const = 0;
    // Shading type; 0 is constant (flat) shading.
    virtual int GetShading() const = 0;
    virtual bool IsFaceted() const = 0;
    // Transparency type: 0 subtractive, 1 additive, 2 filter.
    virtual int GetTransparencyType() const = 0;
    // Map channel state: enabled flag and amount (0..1) of channel (the sub-texture index).
    virtual bool GetMapEnabled(int channel) const = 0;
    virtual float GetTexmapAmount(int channel) const = 0;
    // The shader plug-in of the material, or null.
    virtual const HostShader* GetShader() const = 0;
};

} // namespace vx
