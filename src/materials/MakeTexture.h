#pragma once
// Making the toolkit texture of a host texture: bitmap textures (plain images, movies, image lists),
// cube maps and rendered procedural textures, shared through the run's texture table.

#include "toolkit/VMRef.h"
#include "toolkit/VMTexture.h"

namespace vx {

class HostTexture;

// The texture of host texture, made once per run (later calls return the same object):
// - bitmap texture: by the map file's extension a VMAVTexture (".avi", ".mpg", ".mpeg", ".asf",
//   ".mp2", ".wmv"), a VMAnimatedTexture (".ifl", frame time = playback rate) or a plain VMTexture
//   that takes the host bitmap's aspect and, when the file is not on disk, its pixels (FileName is
//   then the file name only). name = the file name, FileName = the path. Warnings: "Texture without
//   file: " + texture name (and no texture) for an empty map file name; "Texture dimensions not power
//   of 2: " + file name for a bitmap whose width or height is not a power of two.
// - cube map: a VMCubeTexture whose faces are the images of entries 0-5 of text parameter 10 (an
//   empty entry gives no face).
// - any other texture: a VMTexture holding the host's 256 x 256 rendering; none when the host
//   renders nothing.
// A texture whose image file has the same name (ignoring case) as an earlier one's shares that
// texture object when both files are found and hold the same bytes, or when the later file is found
// nowhere (FindTextureFile); otherwise it is a texture of its own. Null host texture gives none.
VMRef<VMTexture> MakeTexture(const HostTexture* texture);

} // namespace vx
