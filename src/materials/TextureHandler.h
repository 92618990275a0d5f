#pragma once
// The texture handler's entry point: turns a host texture of a material channel into a texture
// stage of a render state.

#include "host/HostClassId.h"

namespace vx {

class HostTexture;
class VMRenderState;

// Hands texture (channel of a material of kind, with amount) to the texture stages of state.
// Texture stages are not made yet: the call changes nothing. Null texture or state do nothing.
void HandleTexture(const HostTexture* texture, HostClassId kind, int channel, float amount,
    VMRenderState* state);

} // namespace vx
