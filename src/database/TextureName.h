#pragma once
// The name under which a stage texture's image is stored in the Textures table, as the model
// description writes it.

#include "database/SqlWriter.h"

#include <string>

namespace vx {

class VMTexture;

// Finds texture's image file (FindTextureFile with texture's name and FileName and the current
// run's search places). When a file is found, texture.FileName becomes its path and, when the path
// was relative or the file differs from it (ignoring case), the log gets "Using texture '<found>'
// instead of '<recorded>'". Returns:
// - "" when nothing was found and the run's keepMissingTextures is off;
// - texture.name when writer is null (a description made outside a run's database);
// - "" when the texture names no file at all (a rendered texture: its image lives only in memory
//   and is not stored);
// - otherwise the name WriteTexture gives for texture.FileName, written once per path and run (the
//   current SceneContext's textureNames remembers it; without a context every call writes).
std::string TextureName(SqlWriter* writer, VMTexture& texture);

} // namespace vx
