#pragma once
// Scenes for the key-frame export tests: a scene file with animated nodes loaded into the substitute
// host, and the builder's context for it.

#include "animation/AnimationBuilder.h"
#include "scenefile/SceneFileLoader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace vxtest {

// A scene document with the given top-level fields after the format header.
inline std::string AnimatedScene(const std::string& body)
{
    return std::string(R"({"format": "varnex-scene", "version": 1, )") + body + "}";
}

class AnimatedSceneFixture : public testing::Test {
protected:
    // Loads the scene text; fails the test when it does not load.
    void Load(const std::string& text)
    {
        const std::string path = dir_.File("scene.json");
        std::ofstream(path, std::ios::binary) << text;
        vx::SceneLoadResult result = vx::LoadSceneFile(path);
        ASSERT_TRUE(result.scene) << (result.error ? result.error->message : "");
        scene = std::move(result.scene);
    }

    // A node with one animated part: a top-level node "n" whose "animation" is the given JSON.
    void LoadNode(const std::string& animation, const std::string& timeline = R"({"end": 100})")
    {
        Load(AnimatedScene(
            R"("timeline": )" + timeline + R"(, "nodes": [{"name": "n", "animation": )" + animation + "}]"));
    }

    vx::AnimationContext Context() const
    {
        vx::AnimationContext context;
        context.host = scene.get();
        context.scaleFactor = scaleFactor;
        context.settings = settings;
        context.objectName = "n";
        return context;
    }

    // Builds the node of name and keeps the builder.
    vx::AnimationBuilder& Build(const std::string& name = "n")
    {
        builder = std::make_unique<vx::AnimationBuilder>(Context());
        const vx::HostNode* node = scene->GetNodeByName(name.c_str());
        EXPECT_NE(node, nullptr) << name;
        if (node)
            builder->Build(*node);
        return *builder;
    }

    std::unique_ptr<vx::MemoryHost> scene;
    float scaleFactor = 1.0f;
    vx::AnimationSettings settings;
    std::unique_ptr<vx::AnimationBuilder> builder;

private:
    TempDir dir_;
};

} // namespace vxtest
