#include "scene/DesignBounds.h"

namespace vx {

void ComputeCompositeBounds(ZR::CompositeObject&)
{
}

} // namespace vx
