#include "materials/UsesTextureCoordinates.h"

#include "toolkit/VMRenderState.h"
#include "toolkit/VMTextureProperty.h"

namespace vx {

bool UsesTextureCoordinates(const VMRenderState* state, const VMVertexData* vertexData)
{
    if (!state || !vertexData)
        return false;
    const auto* tp = state->Find<VMTextureProperty>();
    if (!tp)
        return false;
    for (int slot = 0; slot < tp->SlotCount(); ++slot) {
        const VMTextureStage* stage = tp->Stage(slot);
        if (slot != VMTextureProperty::ENVIRONMENT_SLOT && stage && stage->texture)
            return true;
    }
    return false;
}

} // namespace vx
