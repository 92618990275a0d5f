// The scene generator: its presets have the sizes they promise, and the scene file it writes loads
// into the same scene as the one it builds in memory.

#include "generator/BuildMemoryScene.h"
#include "generator/GeneratedScene.h"
#include "generator/SceneParameters.h"
#include "generator/WriteSceneFile.h"

#include "memoryhost/MemoryMaterial.h"
#include "memoryhost/MemoryTexture.h"
#include "scenefile/SceneFileLoader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using vx::bench::GeneratedScene;
using vx::bench::SceneParameters;

struct PresetSize {
    const char* name;
    std::uint64_t nodes;
    std::uint64_t triangles;
    int materials;
};

TEST(GeneratorPresets, HaveTheAdvertisedSizes)
{
    for (const PresetSize& expected : {PresetSize {"tiny", 40, 840, 6},
             PresetSize {"small", 1000, 100000, 30}, PresetSize {"city", 20000, 2000000, 300}}) {
        SCOPED_TRACE(expected.name);
        const std::optional<SceneParameters> parameters = vx::bench::FindPreset(expected.name);
        ASSERT_TRUE(parameters);
        const GeneratedScene scene = vx::bench::GenerateScene(*parameters);
        EXPECT_LE(scene.nodes.size(), expected.nodes);
        EXPECT_GE(scene.nodes.size(), expected.nodes * 99 / 100);
        EXPECT_NEAR(static_cast<double>(scene.CountNodeTriangles()), static_cast<double>(expected.triangles),
            expected.triangles * 0.05);
        EXPECT_EQ(parameters->materials, expected.materials);

        // About half the mesh nodes show a shared mesh: the meshes are the shared pool plus one
        // per node that does not share.
        std::uint64_t meshNodes = 0;
        for (const auto& node : scene.nodes)
            meshNodes += node.mesh >= 0 ? 1 : 0;
        const double ownMeshes
            = static_cast<double>(scene.meshes.size()) - static_cast<double>(meshNodes) / 2 / 20;
        EXPECT_NEAR(ownMeshes / static_cast<double>(meshNodes), 0.5, 0.12);
    }
    EXPECT_FALSE(vx::bench::FindPreset("huge"));
}

TEST(GeneratorPresets, ScaleMultipliesTheNodesAndTheSeedChangesTheScene)
{
    const SceneParameters small = *vx::bench::FindPreset("small");
    const GeneratedScene once = vx::bench::GenerateScene(small);
    const GeneratedScene twice = vx::bench::GenerateScene(vx::bench::ScaleParameters(small, 2));
    EXPECT_NEAR(static_cast<double>(twice.nodes.size()), 2.0 * static_cast<double>(once.nodes.size()), 20);
    EXPECT_NEAR(static_cast<double>(twice.CountNodeTriangles()),
        2.0 * static_cast<double>(once.CountNodeTriangles()),
        0.02 * static_cast<double>(once.CountNodeTriangles()));

    SceneParameters reseeded = small;
    reseeded.seed = small.seed + 1;
    const GeneratedScene other = vx::bench::GenerateScene(reseeded);
    EXPECT_NE(other.meshes.front().verts, once.meshes.front().verts);
    EXPECT_EQ(vx::bench::GenerateScene(small).meshes.back().verts, once.meshes.back().verts);
}

void ExpectSameMaterial(const vx::HostMaterial* a, const vx::HostMaterial* b)
{
    ASSERT_EQ(a == nullptr, b == nullptr);
    if (!a)
        return;
    EXPECT_EQ(std::string(a->GetName()), std::string(b->GetName()));
    EXPECT_EQ(a->GetClassId(), b->GetClassId());
    EXPECT_EQ(a->GetDiffuse(), b->GetDiffuse());
    ASSERT_EQ(a->NumSubTexmaps(), b->NumSubTexmaps());
    for (int i = 0; i < a->NumSubTexmaps(); ++i) {
        const auto* ta = dynamic_cast<const vx::MemoryTexture*>(a->GetSubTexmap(i));
        const auto* tb = dynamic_cast<const vx::MemoryTexture*>(b->GetSubTexmap(i));
        ASSERT_EQ(ta == nullptr, tb == nullptr);
        if (ta) {
            EXPECT_EQ(ta->mapName, tb->mapName);
        }
    }
    ASSERT_EQ(a->NumSubMtls(), b->NumSubMtls());
    for (int i = 0; i < a->NumSubMtls(); ++i)
        ExpectSameMaterial(a->GetSubMtl(i), b->GetSubMtl(i));
}

void ExpectSameMesh(const vx::HostObject* a, const vx::HostObject* b)
{
    ASSERT_EQ(a == nullptr, b == nullptr);
    if (!a)
        return;
    EXPECT_EQ(a->GetSuperClassId(), b->GetSuperClassId());
    EXPECT_EQ(a->GetClassId(), b->GetClassId());
    const vx::HostMesh* ma = a->GetMesh();
    const vx::HostMesh* mb = b->GetMesh();
    ASSERT_EQ(ma == nullptr, mb == nullptr);
    if (!ma)
        return;
    ASSERT_EQ(ma->GetNumVerts(), mb->GetNumVerts());
    ASSERT_EQ(ma->GetNumFaces(), mb->GetNumFaces());
    for (int i = 0; i < ma->GetNumVerts(); ++i)
        ASSERT_EQ(ma->GetVerts()[static_cast<size_t>(i)], mb->GetVerts()[static_cast<size_t>(i)]) << i;
    for (int i = 0; i < ma->GetNumFaces(); ++i) {
        const vx::HostFace& fa = ma->GetFaces()[static_cast<size_t>(i)];
        const vx::HostFace& fb = mb->GetFaces()[static_cast<size_t>(i)];
        ASSERT_TRUE(fa.v[0] == fb.v[0] && fa.v[1] == fb.v[1] && fa.v[2] == fb.v[2] && fa.smGroup == fb.smGroup
            && fa.flags == fb.flags)
            << i;
    }
    ASSERT_EQ(ma->GetMapSupport(1), mb->GetMapSupport(1));
    const auto va = ma->GetMapVerts(1);
    const auto vb = mb->GetMapVerts(1);
    ASSERT_EQ(va.size(), vb.size());
    for (size_t i = 0; i < va.size(); ++i)
        ASSERT_EQ(va[i], vb[i]) << i;
    const auto fa = ma->GetMapFaces(1);
    const auto fb = mb->GetMapFaces(1);
    ASSERT_EQ(fa.size(), fb.size());
    for (size_t i = 0; i < fa.size(); ++i)
        ASSERT_TRUE(fa[i].t[0] == fb[i].t[0] && fa[i].t[1] == fb[i].t[1] && fa[i].t[2] == fb[i].t[2]) << i;
}

void ExpectSameSubtree(const vx::HostNode& a, const vx::HostNode& b)
{
    SCOPED_TRACE(a.GetName());
    EXPECT_EQ(std::string(a.GetName()), std::string(b.GetName()));
    EXPECT_EQ(a.GetNodeTM(0), b.GetNodeTM(0));
    EXPECT_EQ(std::string(a.GetUserPropBuffer()), std::string(b.GetUserPropBuffer()));
    ExpectSameMaterial(a.GetMaterial(), b.GetMaterial());
    ExpectSameMesh(a.GetObjectRef(), b.GetObjectRef());
    ASSERT_EQ(a.NumberOfChildren(), b.NumberOfChildren());
    for (int i = 0; i < a.NumberOfChildren(); ++i)
        ExpectSameSubtree(*a.GetChildNode(i), *b.GetChildNode(i));
}

TEST(GeneratorSceneFile, LoadsAsTheSceneBuiltInMemory)
{
    SceneParameters flat = *vx::bench::FindPreset("tiny");
    flat.groupDepth = 0;
    flat.sharedShare = 1.0;
    flat.textures = 0;
    for (const SceneParameters& parameters : {*vx::bench::FindPreset("tiny"), flat}) {
        vxtest::TempDir folder;
        const std::string path = folder.File("scene.json");
        const GeneratedScene scene = vx::bench::GenerateScene(parameters);
        ASSERT_EQ(vx::bench::WriteSceneFile(scene, path), "");

        vx::SceneLoadResult loaded = vx::LoadSceneFile(path);
        ASSERT_TRUE(loaded.scene) << (loaded.error ? loaded.error->GetText() : "");
        const auto built = vx::bench::BuildMemoryScene(
            scene, vx::bench::GetSceneFilePaths(path).textureFolder, folder.File("scene.max"));
        EXPECT_EQ(std::string(built->GetCurFilePath()), std::string(loaded.scene->GetCurFilePath()));
        EXPECT_EQ(built->GetNodeCount(), loaded.scene->GetNodeCount());
        ExpectSameSubtree(*built->GetRootNode(), *loaded.scene->GetRootNode());
    }
}

} // namespace
