#pragma once
// The texture handler's entry point: turns a host texture of a material channel into a texture
// stage of a render state, and adjusts the material's colours for it.

#include "host/HostClassId.h"

namespace vx {

class HostTexture;
class VMRenderState;

// The material kind that no longer converts: its textures only report an error.
inline constexpr HostClassId kVemoMaterial {0x228465f9u, 0x16f77255u};
// A material kind whose channels are the standard material's.
inline constexpr HostClassId kStandardLikeMaterial {0x13d11bbeu, 0x691e3037u};

// Hands texture (channel of a material of kind, with amount 1 = 100 %) to the texture stages of
// state: makes its toolkit texture (MakeTexture), fills the stage slot that kind and channel choose,
// with the mode words, blend factor and colour adjustments of that slot, sets the stage's coordinate
// source from the texture's UVW source, then hands each sub-texture on with the texture's class as
// kind and its slot as channel. Does nothing for a null texture or state, an amount below 0.1 or not
// finite, or a texture that yields no toolkit texture. Messages: "Percentage ignored on texture "
// (warning) and "vemoMtl is no longer supported" (error). Sub-textures nested deeper than 32 levels
// (a cycle) are not followed.
void HandleTexture(
    const HostTexture* texture, HostClassId kind, int channel, float amount, VMRenderState* state);

} // namespace vx
