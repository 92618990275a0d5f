#pragma once
// One piece of a node's geometry: a triangle list and the render state of the material its
// triangles use. Copying a pair shares both.

#include "toolkit/VMRef.h"
#include "toolkit/VMRenderState.h"
#include "toolkit/VMVertexData.h"

namespace vx {

struct GeometryPair {
    VMRef<VMRenderState> renderState;
    VMRef<VMVertexData> vertexData;
};

} // namespace vx
