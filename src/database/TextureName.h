#pragma once
// The name under which a stage texture's image is stored in the Textures table, as the model
// description writes it.

#include "database/DesignWrite.h"

#include <string>

namespace vx {

class VMTexture;

// Finds texture's image file (FindTextureFile with texture's name and FileName and the run's
// search places), stores it and returns the name the description gives it. When a file is found,
// texture.FileName becomes its path and, when the path was relative or the file differs from it
// (ignoring case), the log gets "Using texture '<found>' instead of '<recorded>'". Returns:
// - "" when nothing was found and the run's keepMissingTextures is off;
// - "" when the texture names no file at all (a rendered texture: its image lives only in memory
//   and is not stored);
// - NameMissingTexture of the recorded name when nothing was found and that name has no folder;
// - otherwise the name WriteTexture gives for texture.FileName, written once per path and run
//   (write.tables.textureNames remembers it).
// Each image name and recorded path is searched for once per run (write.tables.textureFileSearches).
std::string StoreTexture(DesignWrite& write, VMTexture& texture);

} // namespace vx
