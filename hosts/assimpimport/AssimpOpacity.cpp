#include "assimpimport/AssimpOpacity.h"

#include "assimpimport/AssimpMaterials.h"

#include <assimp/GltfMaterial.h>
#include <assimp/material.h>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace vx {

namespace {

// The opacity material states, 0 to 1; 1 when it states none or no number.
float GetStatedOpacity(const aiMaterial& material, AssimpFileKind kind)
{
    // glTF's OPAQUE mode ignores the alpha, and MASK cuts out by the alpha of each texel, which a
    // material of the host cannot do: both are opaque.
    aiString mode;
    if (kind == AssimpFileKind::Gltf && material.Get(AI_MATKEY_GLTF_ALPHAMODE, mode) == AI_SUCCESS
        && std::string_view(mode.C_Str()) != "BLEND")
        return 1.0f;
    float opacity = 1.0f;
    if (material.Get(AI_MATKEY_OPACITY, opacity) != AI_SUCCESS || !std::isfinite(opacity))
        return 1.0f;
    return std::clamp(opacity, 0.0f, 1.0f);
}

// "\"A\" would be invisible otherwise", or "\"A\" and 2 more would..." for several names.
std::string DescribeInvisible(const std::vector<std::string>& names)
{
    std::string text = "\"" + names.front() + "\"";
    if (names.size() > 1)
        text += " and " + std::to_string(names.size() - 1) + " more";
    return text + " would be invisible otherwise";
}

} // namespace

AssimpOpacities ReadAssimpOpacities(const aiScene& scene, AssimpFileKind kind)
{
    AssimpOpacities opacities;
    std::vector<std::string> invisible;
    for (unsigned i = 0; i < scene.mNumMaterials; ++i) {
        const aiMaterial& material = *scene.mMaterials[i];
        opacities.values.push_back(GetStatedOpacity(material, kind));
        if (opacities.values.back() < kInvisibleOpacity)
            invisible.push_back(GetAssimpMaterialName(material, i));
    }
    // glTF states alpha one way only: a material with alpha 0 is meant to be invisible.
    if (invisible.empty() || kind == AssimpFileKind::Gltf)
        return opacities;
    for (float& opacity : opacities.values)
        if (1.0f - opacity >= kInvisibleOpacity)
            opacity = 1.0f - opacity;
    opacities.notes.push_back(
        "opacity 0 read as opaque: the file writes its transparency inverted (0 for opaque), "
        "so every material's opacity is read as 1 - the value stated ("
        + DescribeInvisible(invisible) + ")");
    return opacities;
}

} // namespace vx
