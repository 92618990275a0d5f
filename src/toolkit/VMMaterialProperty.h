#pragma once
// VMMaterialProperty: the colours, opacity and specular power of a material, each colour with a
// flag that says whether it takes part.

#include "toolkit/VMColor.h"
#include "toolkit/VMRenderProperty.h"

namespace vx {

class VMMaterialProperty : public VMRenderProperty {
public:
    static constexpr VMPropertyClass CLASS = VMPropertyClass::Material;
    // A colour takes part when a component reaches this value.
    static constexpr float USE_THRESHOLD = 0.01f;
    // Alpha takes part below this value.
    static constexpr float OPAQUE_ALPHA = 0.99f;

    VMPropertyClass Class() const override { return CLASS; }
    // Equal use flags; alphas within 0.01 when UseAlpha; each used colour within 0.01 per
    // component. Power is not compared.
    bool Equals(const VMRenderProperty& other) const override;

    // Store the colour and set its use flag when any component is 0.01 or more.
    void SetAmbient(const VMColor& c);
    void SetDiffuse(const VMColor& c);
    void SetSpecular(const VMColor& c);
    void SetEmissive(const VMColor& c);
    // Stores value and sets UseAlpha to (value < 0.99).
    void SetAlpha(float value);

    VMColor Emissive {0.0f, 0.0f, 0.0f};
    VMColor Ambient {1.0f, 1.0f, 1.0f};
    VMColor Diffuse {1.0f, 1.0f, 1.0f};
    VMColor Specular {1.0f, 1.0f, 1.0f};
    float Alpha = 1.0f;
    float Power = 20.0f;
    bool UseAmbient = false;
    bool UseDiffuse = false;
    bool UseSpecular = false;
    bool UseEmissive = false;
    bool UseAlpha = false;
};

} // namespace vx
