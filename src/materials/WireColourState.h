#pragma once
// Render states for nodes without material, made from the node's wire colour and visibility.

#include "toolkit/VMRef.h"
#include "toolkit/VMRenderState.h"

#include <cstdint>

namespace vx {

// The key of a wire colour (0x00BBGGRR) and visibility: each colour byte keeps its top five bits
// and repeats its top three in the low three; the top byte is the visibility x 255 rounded to
// nearest (halves to even) and clamped to 0 .. 255. A non-finite visibility counts as 1.
uint32_t WireColourKey(uint32_t wireColour, float visibility);

// The state of the key of (wireColour, visibility): made once per key for the life of the process.
// Its VMMaterialProperty has Ambient and Diffuse set to the key's colour bytes / 255; below a
// visibility of 0.99 also Alpha. Named "Color %.2f %.2f %.2f", with " %.2f" of the visibility
// when it is below 0.99.
VMRef<VMRenderState> WireColourState(uint32_t wireColour, float visibility);

} // namespace vx
