#pragma once
// The shader plug-in of a standard material: its identity, its colours and its parameter block
// (values at time 0, table index 0).

#include "host/HostClassId.h"
#include "host/HostTypes.h"

namespace vx {

class HostShader {
public:
    virtual ~HostShader() = default;

    virtual HostClassId GetClassId() const = 0;
    virtual HostColor GetAmbient() const = 0;
    virtual HostColor GetDiffuse() const = 0;
    virtual HostColor GetSpecular() const = 0;
    // Parameter block values by parameter identifier; a parameter the shader does not have reads
    // as 0, 0.0 or black.
    virtual int GetParamInt(int id) const = 0;
    virtual float GetParamFloat(int id) const = 0;
    virtual HostColor GetParamColor(int id) const = 0;
};

} // namespace vx
