#pragma once
// Reads the declarations of a scene file that nodes refer to: textures, materials and objects.
// Each kind is read in two steps, so that declarations may refer to ones declared after them;
// references that form cycles or nest too deeply fail the load.

#include "scenefile/SceneReadContext.h"

namespace vx {

// Read in this order: textures, then materials (they name textures), then objects.
void ReadTextures(SceneReadContext& context, const JsonAt& at);
void ReadMaterials(SceneReadContext& context, const JsonAt& at);
void ReadObjects(SceneReadContext& context, const JsonAt& at);

} // namespace vx
