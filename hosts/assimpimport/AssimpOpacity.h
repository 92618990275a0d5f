#pragma once
// The opacity of an imported scene's materials, read the way the file means it. Assimp hands out
// the opacity each format states, COLLADA's <transparent opaque="..."> and <transparency> already
// combined by the file's mode (A_ONE: a * t, RGB_ZERO: 1 - luminance * t, A_ZERO: 1 - a * t,
// RGB_ONE: luminance * t). Two readings are added here: glTF's alpha counts in its BLEND mode only,
// and some exporters write the transparency inverted (0 for an opaque material), which the
// COLLADA reading turns into invisible materials.

#include "assimpimport/AssimpSceneFrame.h"

#include <assimp/scene.h>

#include <string>
#include <vector>

namespace vx {

// The exporter leaves out pieces whose opacity is below this: they would not be seen.
constexpr float kInvisibleOpacity = 0.01f;

struct AssimpOpacities {
    // The opacity, 0 to 1, of each of the scene's materials, by Assimp material index.
    std::vector<float> values;
    // What was assumed on the way, one sentence each; empty when the file was read as it stands.
    std::vector<std::string> notes;
};

// The opacities of scene's materials: the value Assimp states (1 when it states none or a value
// that is not a number; glTF materials other than BLEND are opaque). A file other than glTF in
// which a material would be invisible (below kInvisibleOpacity) writes its transparency inverted:
// every opacity is then read as 1 - the value stated, except where that would make the material
// invisible, and a note says so.
AssimpOpacities ReadAssimpOpacities(const aiScene& scene, AssimpFileKind kind);

} // namespace vx
