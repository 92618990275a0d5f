#pragma once
// Texture images in the design database: each distinct content is stored once as a Textures row
// and named by an identifier derived from its CRC-32, whatever the file is called.

#include "database/DesignWrite.h"

#include <string>

namespace vx {

// Reads the texture file at path whole and returns the name the model description uses for it.
//
// With content: identifier = FromName of "0x%08X" of the content's CRC-32. The first content
// with that identifier gets a Textures row (luid = NewLuid of the identifier; name = the file
// name when the run's textureNamesWithExtension is set, else the file title; data = the
// bytes); a later file with the same bytes writes nothing. A different content with the same
// CRC-32 (bytes compared with the stored row) gets a row of its own under a new sequential
// identifier. Returns the text of the row's identifier (36 lower-case characters).
//
// Without content, or when no row could be written: returns the file name or title as above and
// writes no row. A file that does not open also puts "Texture file not found: " + path into the
// log; every file without content reports "**** TEXTURE NOT READABLE ****: " +
// path to the debugger output. A file larger than the database accepts, or than 4 GiB, has no
// content. A refused insert (reported) is not remembered: a later use of the same bytes tries
// again. A null path counts as empty.
std::string WriteTexture(DesignWrite& write, const char* path);

// For an image file that is found nowhere: puts "Texture file not found: " + path into the log
// and returns the name WriteTexture gives a texture without content. Reads nothing and writes no
// row.
std::string NameMissingTexture(DesignWrite& write, const char* path);

} // namespace vx
