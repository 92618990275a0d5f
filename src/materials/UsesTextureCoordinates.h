#pragma once
// Whether a render state's texture stages read the texture coordinates of vertex data.

namespace vx {

class VMRenderState;
class VMVertexData;

// False when state or vertexData is null or state has no texture property; true when a stage slot
// other than the environment slot (8) holds a stage with a texture.
bool UsesTextureCoordinates(const VMRenderState* state, const VMVertexData* vertexData);

} // namespace vx
