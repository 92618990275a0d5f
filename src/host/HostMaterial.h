#pragma once
// A host material. Every value is the one at time 0 (front face, sub-material 0). Nodes share
// materials; the exporter compares them by address.

#include "host/HostClassId.h"
#include "host/HostTypes.h"

namespace vx {

class HostStandardMaterial;
class HostTexture;

class HostMaterial {
public:
    virtual ~HostMaterial() = default;

    virtual HostClassId GetClassId() const = 0;
    virtual const char* GetName() const = 0;

    // Sub-materials (multi/sub-object, shell, double-sided materials): the slot count, and the
    // material in a slot (null for an empty slot or an index out of range).
    virtual int NumSubMtls() const = 0;
    virtual HostMaterial* GetSubMtl(int index) const = 0;
    // Sub-textures (map channels): the slot count, and the texture in a slot (null when empty or
    // out of range).
    virtual int NumSubTexmaps() const = 0;
    virtual HostTexture* GetSubTexmap(int index) const = 0;

    // Values every material answers.
    virtual HostColor GetAmbient() const = 0;
    virtual HostColor GetDiffuse() const = 0;
    virtual HostColor GetSpecular() const = 0;
    virtual float GetShininess() const = 0;
    virtual float GetShinStr() const = 0;
    // Transparency, 0 = opaque.
    virtual float GetXParency() const = 0;
    virtual bool GetSelfIllumColorOn() const = 0;
    virtual HostColor GetSelfIllumColor() const = 0;
    virtual float GetWireSize() const = 0;

    // The standard-material view of this material when it is one (kClassStandardMaterial or
    // kClassStandardMaterial2), otherwise null.
    virtual const HostStandardMaterial* AsStandardMaterial() const = 0;
};

} // namespace vx
