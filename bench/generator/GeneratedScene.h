#pragma once
// A generated scene as plain data: what both the in-memory host and the scene file are built from,
// so that the two describe the same scene.

#include "generator/SceneParameters.h"

#include "host/HostMath.h"
#include "host/HostMesh.h"
#include "host/HostTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vx::bench {

struct GeneratedTexture {
    std::string name;
    // The image file's name (a small uncompressed TGA), relative to the texture folder.
    std::string fileName;
    std::uint32_t colorSeed = 0;
};

struct GeneratedMaterial {
    std::string name;
    bool multi = false;
    // Indices into GeneratedScene::materials (multi materials only).
    std::vector<int> subMaterials;
    HostColor diffuse;
    // Index into GeneratedScene::textures used as the diffuse map, or -1.
    int texture = -1;
};

// A grid of triangles with one texture coordinate per vertex (map channel 1 uses the mesh faces).
struct GeneratedMesh {
    std::vector<HostPoint3> verts;
    std::vector<HostFace> faces;
    std::vector<HostPoint3> uvs;
};

struct GeneratedNode {
    std::string name;
    // Index of the parent node, or -1 for a top-level node. Parents come before their children.
    int parent = -1;
    bool group = false;
    // Index into GeneratedScene::meshes, or -1 (group nodes).
    int mesh = -1;
    // Index into GeneratedScene::materials, or -1.
    int material = -1;
    HostPoint3 position;
    // Turns of 90 degrees about z.
    int quarterTurns = 0;
    std::string userProperties;
};

struct GeneratedScene {
    SceneParameters parameters;
    std::vector<GeneratedTexture> textures;
    std::vector<GeneratedMaterial> materials;
    std::vector<GeneratedMesh> meshes;
    std::vector<GeneratedNode> nodes;

    // Triangles the nodes show, shared meshes counted once per node.
    std::uint64_t CountNodeTriangles() const;
};

// The scene of parameters. The same parameters (seed included) give the same scene on every
// machine. Negative counts are taken as 0; a share outside 0..1 is clamped.
GeneratedScene GenerateScene(const SceneParameters& parameters);

// The local transform of node: the quarter turns about z, then the position.
HostMatrix3 MakeNodeTransform(const GeneratedNode& node);

} // namespace vx::bench
