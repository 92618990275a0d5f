#include "generator/SceneParameters.h"

namespace vx::bench {

namespace {

SceneParameters MakePreset(int nodes, int triangles, int materials, int subMaterials, int textures,
    int propertyLines, int groupDepth)
{
    SceneParameters parameters;
    parameters.nodes = nodes;
    parameters.trianglesPerMesh = triangles;
    parameters.sharedShare = 0.5;
    parameters.materials = materials;
    parameters.subMaterials = subMaterials;
    parameters.textures = textures;
    parameters.userPropertyLines = propertyLines;
    parameters.groupDepth = groupDepth;
    return parameters;
}

} // namespace

std::optional<SceneParameters> FindPreset(std::string_view name)
{
    // About nine nodes in ten show meshes, so 110 triangles per mesh gives the round totals:
    // small about 100k triangles, city about 2 million.
    if (name == "tiny")
        return MakePreset(40, 24, 6, 3, 2, 3, 2);
    if (name == "small")
        return MakePreset(1000, 110, 30, 4, 10, 4, 3);
    if (name == "city")
        return MakePreset(20000, 110, 300, 4, 40, 4, 3);
    return std::nullopt;
}

std::vector<std::string> PresetNames()
{
    return {"tiny", "small", "city"};
}

SceneParameters ScaleParameters(SceneParameters parameters, int k)
{
    if (k > 1)
        parameters.nodes *= k;
    return parameters;
}

} // namespace vx::bench
