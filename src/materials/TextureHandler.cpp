#include "materials/TextureHandler.h"

namespace vx {

void HandleTexture(const HostTexture* texture, HostClassId kind, int channel, float amount,
    VMRenderState* state)
{
    static_cast<void>(texture);
    static_cast<void>(kind);
    static_cast<void>(channel);
    static_cast<void>(amount);
    static_cast<void>(state);
}

} // namespace vx
