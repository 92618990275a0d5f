#pragma once
// The user property text of an imported node, made from the metadata Assimp gives the node.

#include "assimpimport/AssimpSceneFrame.h"

#include <assimp/metadata.h>

#include <string>

namespace vx {

// FBX: the modelling host's user-defined property text ("UDP3DSMAX", else "UserProperties") as it
// stands, with the escapes "&cr;" and "&lf;" of ASCII FBX files turned back into CR and LF.
// Other files (glTF extras, ...): one line per metadata entry, "key = value"; keys that begin with
// "ZR" or "VNX" (the exporter's own keys, which take the rest of the line as their value) as
// "key value". Line breaks inside keys and values become blanks. Null metadata gives "".
std::string MakeUserPropertyText(const aiMetadata* metadata, AssimpFileKind kind);

} // namespace vx
