#include "generator/GeneratedScene.h"

#include "generator/SeededRandom.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vx::bench {

namespace {

constexpr int kMaterialIdRows = 4;

// Group nodes per level (level 1 first) for leafCount mesh nodes under depth levels of groups.
std::vector<int> CountGroups(int leafCount, int depth, int fanOut)
{
    std::vector<int> counts(static_cast<size_t>(depth), 0);
    int below = leafCount;
    for (int level = depth; level >= 1; --level) {
        below = (below + fanOut - 1) / fanOut;
        counts[static_cast<size_t>(level - 1)] = below;
    }
    return counts;
}

int Sum(const std::vector<int>& values)
{
    int total = 0;
    for (int value : values)
        total += value;
    return total;
}

// The most mesh nodes whose groups still fit into nodes in all.
int CountLeaves(int nodes, int depth, int fanOut)
{
    int leaves = nodes;
    while (leaves > 0 && leaves + Sum(CountGroups(leaves, depth, fanOut)) > nodes)
        --leaves;
    return leaves;
}

float Quantized(SeededRandom& random, std::uint32_t steps, float unit)
{
    return static_cast<float>(random.Below(steps)) * unit;
}

HostColor MakeColor(SeededRandom& random)
{
    return HostColor {Quantized(random, 256, 1.0f / 256), Quantized(random, 256, 1.0f / 256),
        Quantized(random, 256, 1.0f / 256)};
}

GeneratedMesh MakeMesh(SeededRandom& random, int triangles)
{
    GeneratedMesh mesh;
    const int quads = (triangles + 1) / 2;
    const int cols = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(quads)))));
    const int rows = std::max(1, (quads + cols - 1) / cols);
    for (int j = 0; j <= rows; ++j) {
        for (int i = 0; i <= cols; ++i) {
            mesh.verts.push_back(HostPoint3 {
                static_cast<float>(i) * 0.5f, static_cast<float>(j) * 0.5f, Quantized(random, 400, 0.01f)});
            mesh.uvs.push_back(HostPoint3 {static_cast<float>(i) / static_cast<float>(cols),
                static_cast<float>(j) / static_cast<float>(rows), 0.0f});
        }
    }
    const auto vertex = [cols](int i, int j) { return static_cast<std::uint32_t>(j * (cols + 1) + i); };
    for (int q = 0; q < quads; ++q) {
        const int i = q % cols;
        const int j = q / cols;
        const std::uint32_t flags = static_cast<std::uint32_t>(j % kMaterialIdRows) << 16;
        mesh.faces.push_back(HostFace {{vertex(i, j), vertex(i + 1, j), vertex(i + 1, j + 1)}, 1, flags});
        if (static_cast<int>(mesh.faces.size()) < triangles)
            mesh.faces.push_back(HostFace {{vertex(i, j), vertex(i + 1, j + 1), vertex(i, j + 1)}, 1, flags});
    }
    return mesh;
}

std::string FormatNumber(const char* prefix, int number, int width)
{
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    std::string text = prefix;
    text += digits;
    return text;
}

void AddTextures(GeneratedScene& scene, SeededRandom& random, int count)
{
    for (int i = 0; i < count; ++i) {
        GeneratedTexture texture;
        texture.name = FormatNumber("tex", i, 3);
        texture.fileName = texture.name + ".tga";
        texture.colorSeed = static_cast<std::uint32_t>(random.Next());
        scene.textures.push_back(std::move(texture));
    }
}

void AddMaterials(GeneratedScene& scene, SeededRandom& random, const SceneParameters& parameters)
{
    const int count = std::max(0, parameters.materials);
    const int subCount = std::max(0, parameters.subMaterials);
    const int textures = static_cast<int>(scene.textures.size());
    int nextTexture = 0;
    const auto makeStandard = [&](std::string name) {
        GeneratedMaterial material;
        material.name = std::move(name);
        material.diffuse = MakeColor(random);
        // Every second standard material carries a diffuse map.
        if (textures > 0 && random.Below(2) == 0)
            material.texture = nextTexture++ % textures;
        return material;
    };
    for (int i = 0; i < count; ++i) {
        const std::string name = FormatNumber("Material", i, 3);
        if (i % 4 == 3 && subCount > 0) {
            GeneratedMaterial multi;
            multi.name = name;
            multi.multi = true;
            multi.diffuse = MakeColor(random);
            scene.materials.push_back(std::move(multi));
        } else {
            scene.materials.push_back(makeStandard(name));
        }
    }
    // The sub-materials follow the materials that the nodes use.
    for (int i = 0; i < count; ++i) {
        if (!scene.materials[static_cast<size_t>(i)].multi)
            continue;
        for (int s = 0; s < subCount; ++s) {
            const int index = static_cast<int>(scene.materials.size());
            scene.materials.push_back(
                makeStandard(scene.materials[static_cast<size_t>(i)].name + "_sub" + std::to_string(s)));
            scene.materials[static_cast<size_t>(i)].subMaterials.push_back(index);
        }
    }
}

std::string MakeUserProperties(SeededRandom& random, int lines, int leaf)
{
    std::string text;
    for (int line = 0; line < lines; ++line) {
        if (line > 0)
            text += '\n';
        switch (line) {
        case 0:
            text += "Category = Building";
            break;
        case 1:
            text += "Floor = " + std::to_string(random.Below(40));
            break;
        case 2:
            text += "Cost = " + std::to_string(1000 + random.Below(90000));
            break;
        case 3:
            text += "Label = B" + std::to_string(leaf);
            break;
        default:
            text += "Tag" + std::to_string(line) + " = v" + std::to_string(random.Below(1000));
            break;
        }
    }
    return text;
}

// The side of the square grid that holds count siblings.
int GridColumns(int count)
{
    int columns = 1;
    while (columns * columns < count)
        ++columns;
    return columns;
}

// Siblings stand in a square grid of columns, spacing apart, like blocks of a town.
HostPoint3 PlaceAmongSiblings(int siblingIndex, int columns, float spacing)
{
    return HostPoint3 {static_cast<float>(siblingIndex % columns) * spacing,
        static_cast<float>(siblingIndex / columns) * spacing, 0.0f};
}

// A building's footprint is 4 x 3.5 units; buildings stand this far apart, and each level of
// blocks leaves a street of this width between the blocks below it.
constexpr float kBuildingSpacing = 6.0f;
constexpr float kStreetWidth = 8.0f;

// The spacing of the siblings at each group level (1 = top), so that neighbouring blocks never
// overlap: a block of the level below spans its grid plus its own street.
std::vector<float> LevelSpacings(int depth, int fanOut)
{
    std::vector<float> spacing(static_cast<size_t>(depth + 1), kBuildingSpacing);
    const int columns = GridColumns(fanOut);
    float extent = static_cast<float>(columns - 1) * kBuildingSpacing + kBuildingSpacing;
    for (int level = depth; level >= 1; --level) {
        spacing[static_cast<size_t>(level - 1)] = extent + kStreetWidth;
        extent = static_cast<float>(columns - 1) * spacing[static_cast<size_t>(level - 1)] + extent;
    }
    return spacing;
}

} // namespace

std::uint64_t GeneratedScene::CountNodeTriangles() const
{
    std::uint64_t total = 0;
    for (const GeneratedNode& node : nodes)
        if (node.mesh >= 0)
            total += meshes[static_cast<size_t>(node.mesh)].faces.size();
    return total;
}

GeneratedScene GenerateScene(const SceneParameters& parameters)
{
    GeneratedScene scene;
    scene.parameters = parameters;
    SeededRandom random(parameters.seed);

    const int depth = std::max(0, parameters.groupDepth);
    const int fanOut = std::max(2, parameters.groupFanOut);
    const int leaves = CountLeaves(std::max(0, parameters.nodes), depth, fanOut);
    const std::vector<int> groups = CountGroups(leaves, depth, fanOut);

    AddTextures(scene, random, std::max(0, parameters.textures));
    AddMaterials(scene, random, parameters);

    // Group levels first, each level's nodes spread over the level above in runs of fanOut.
    const std::vector<float> spacings = LevelSpacings(depth, fanOut);
    const int fanColumns = GridColumns(fanOut);
    int previousStart = -1;
    for (int level = 1; level <= depth; ++level) {
        const int start = static_cast<int>(scene.nodes.size());
        const float spacing = spacings[static_cast<size_t>(level - 1)];
        const int topColumns = GridColumns(groups[static_cast<size_t>(level - 1)]);
        for (int i = 0; i < groups[static_cast<size_t>(level - 1)]; ++i) {
            GeneratedNode node;
            node.name = "Block" + std::to_string(level) + "_" + std::to_string(i);
            node.group = true;
            node.parent = previousStart < 0 ? -1 : previousStart + i / fanOut;
            node.position = previousStart < 0 ? PlaceAmongSiblings(i, topColumns, spacing)
                                              : PlaceAmongSiblings(i % fanOut, fanColumns, spacing);
            scene.nodes.push_back(std::move(node));
        }
        previousStart = start;
    }

    // Which mesh nodes share: decided first, so that the pool of shared meshes can be sized.
    const double share = std::clamp(parameters.sharedShare, 0.0, 1.0);
    std::vector<bool> sharing(static_cast<size_t>(leaves));
    int sharingCount = 0;
    for (int i = 0; i < leaves; ++i) {
        sharing[static_cast<size_t>(i)] = random.Chance(share);
        sharingCount += sharing[static_cast<size_t>(i)] ? 1 : 0;
    }
    const int perShared = std::max(1, parameters.nodesPerSharedObject);
    const int pool = sharingCount == 0 ? 0 : std::max(1, (sharingCount + perShared / 2) / perShared);
    const int triangles = std::max(1, parameters.trianglesPerMesh);
    for (int i = 0; i < pool; ++i)
        scene.meshes.push_back(MakeMesh(random, triangles));

    const int materialChoices = std::max(0, parameters.materials);
    for (int i = 0; i < leaves; ++i) {
        GeneratedNode node;
        node.name = FormatNumber("Building", i, 5);
        node.parent = depth == 0 ? -1 : previousStart + i / fanOut;
        node.position = depth == 0 ? PlaceAmongSiblings(i, GridColumns(leaves), spacings[0])
                                   : PlaceAmongSiblings(i % fanOut, fanColumns, kBuildingSpacing);
        node.quarterTurns = static_cast<int>(random.Below(4));
        if (sharing[static_cast<size_t>(i)]) {
            node.mesh = static_cast<int>(random.Below(static_cast<std::uint32_t>(pool)));
        } else {
            node.mesh = static_cast<int>(scene.meshes.size());
            scene.meshes.push_back(MakeMesh(random, triangles));
        }
        node.material = materialChoices > 0
            ? static_cast<int>(random.Below(static_cast<std::uint32_t>(materialChoices)))
            : -1;
        node.userProperties = MakeUserProperties(random, std::max(0, parameters.userPropertyLines), i);
        scene.nodes.push_back(std::move(node));
    }
    return scene;
}

HostMatrix3 MakeNodeTransform(const GeneratedNode& node)
{
    static constexpr float kCos[4] = {1, 0, -1, 0};
    static constexpr float kSin[4] = {0, 1, 0, -1};
    const int turn = ((node.quarterTurns % 4) + 4) % 4;
    HostMatrix3 m;
    m.rows[0] = HostPoint3 {kCos[turn], kSin[turn], 0};
    m.rows[1] = HostPoint3 {-kSin[turn], kCos[turn], 0};
    m.rows[2] = HostPoint3 {0, 0, 1};
    m.rows[3] = node.position;
    return m;
}

} // namespace vx::bench
