#pragma once
// VMAlphaProperty: how a material blends with what lies behind it: OpenGL blend factor codes for
// source and destination, and an alpha value.

#include "toolkit/VMRenderProperty.h"

#include <cstdint>

namespace vx {

// OpenGL blend factor codes.
enum VMBlendFactor : int32_t {
    kBlendZero = 0,
    kBlendOne = 1,
    kBlendSrcColor = 768,
    kBlendOneMinusSrcColor = 769,
    kBlendSrcAlpha = 770,
    kBlendOneMinusSrcAlpha = 771,
    kBlendDstAlpha = 772,
    kBlendOneMinusDstAlpha = 773,
    kBlendDstColor = 774,
    kBlendOneMinusDstColor = 775,
    kBlendSrcAlphaSaturate = 776,
};

class VMAlphaProperty : public VMRenderProperty {
public:
    static constexpr VMPropertyClass CLASS = VMPropertyClass::Alpha;

    VMPropertyClass Class() const override { return CLASS; }
    // Equal factors and alpha values whose difference is near zero.
    bool Equals(const VMRenderProperty& other) const override;

    // Named settings: (770, 771), (1, 1), (0, 768).
    void SetAlphaBlending() { SetFactors(kBlendSrcAlpha, kBlendOneMinusSrcAlpha); }
    void SetAdditive() { SetFactors(kBlendOne, kBlendOne); }
    void SetMultiplicative() { SetFactors(kBlendZero, kBlendSrcColor); }
    void SetFactors(int32_t source, int32_t destination)
    {
        sourceFactor = source;
        destinationFactor = destination;
    }

    int32_t sourceFactor = kBlendSrcAlpha;
    int32_t destinationFactor = kBlendOneMinusSrcAlpha;
    float alpha = 1.0f;
};

} // namespace vx
