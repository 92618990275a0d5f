#pragma once
// The knobs of the scene generator and its named presets.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::bench {

struct SceneParameters {
    std::uint64_t seed = 1;
    // Every node of the scene below the root: group nodes and the nodes that show meshes.
    int nodes = 40;
    int trianglesPerMesh = 24;
    // Share (0..1) of the mesh nodes that show one of a pool of shared objects instead of their own.
    double sharedShare = 0.5;
    // How many sharing nodes show one shared object, on average (sets the pool's size).
    int nodesPerSharedObject = 20;
    // Materials the nodes pick from; every fourth is a multi/sub-object material with
    // subMaterials standard sub-materials of its own.
    int materials = 6;
    int subMaterials = 3;
    // Bitmap textures (small image files); standard materials take them in turn as diffuse maps.
    int textures = 2;
    // Lines "key = value" in each mesh node's user properties.
    int userPropertyLines = 3;
    // Levels of group nodes above the mesh nodes (0: the mesh nodes are top-level nodes).
    int groupDepth = 2;
    // Children per group node.
    int groupFanOut = 10;
};

// The preset called name ("tiny", "small", "city"); nullopt for an unknown name.
std::optional<SceneParameters> FindPreset(std::string_view name);

// The names of the presets, smallest first.
std::vector<std::string> PresetNames();

// parameters with k times the nodes; everything else stays, so meshes, triangles and shared
// objects grow with the nodes. k below 1 is taken as 1.
SceneParameters ScaleParameters(SceneParameters parameters, int k);

} // namespace vx::bench
