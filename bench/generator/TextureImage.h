#pragma once
// The image file of a generated texture: a small uncompressed TGA with a pattern from its seed.

#include "generator/GeneratedScene.h"

#include <string>

namespace vx::bench {

constexpr int kTextureImageSize = 32;

// The file's bytes (always the same for the same texture).
std::string MakeTextureImage(const GeneratedTexture& texture);

// Writes the image of every texture of scene into folder (which must exist). Returns false when a
// file cannot be written.
bool WriteTextureImages(const GeneratedScene& scene, const std::string& folder);

} // namespace vx::bench
