#pragma once
// A conversion set up as an export run sets it up: a memory host scene, the current exporter with
// its log, the current scene context with a design root, and the export tree of the scene.

#include "memoryhost/MemoryHost.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"
#include "scene/MyGroupNode.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vxtest {

class SceneFixture : public ::testing::Test {
protected:
    SceneFixture();
    ~SceneFixture() override;

    // A geometry node under parent showing object with material (both may be null; a null object
    // gets a new geometry object of its own).
    vx::MemoryNode& AddGeometry(vx::MemoryNode& parent, const std::string& name,
        vx::HostObject* object = nullptr, vx::HostMaterial* material = nullptr);
    // A geometry object whose mesh spans the box (0, 0, 0)..extent.
    vx::MemoryObject& AddBoxObject(const vx::HostPoint3& extent);
    // A group head node under parent.
    vx::MemoryNode& AddGroup(vx::MemoryNode& parent, const std::string& name);

    // Builds the export tree of the scene (released by the fixture or by ReleaseTree).
    vx::MyGroupNode& BuildTree();
    // Builds the tree when not built yet, runs the referenced-node pass over the top-level subtrees
    // and converts the tree into the design root.
    void Convert(bool single);
    void ReleaseTree();

    // The log's lines so far (without CR LF).
    std::vector<std::string> LogLines();

    // The design root's instances, and the instance named name among them (null when absent).
    std::vector<ZR::ObjectInstance*> RootInstances() const;
    ZR::ObjectInstance* RootInstance(const std::string& name) const;

    TempDir dir;
    vx::MemoryHost host;
    vx::ExportRunState run;
    vx::SceneContext context;
    ZR::CompositeObject* designRoot = nullptr;
    vx::MyGroupNode* tree = nullptr;
    vx::MemoryObject* sharedObject = nullptr;
};

// A translation matrix.
vx::HostMatrix3 At(float x, float y, float z);
// A scale matrix followed by a translation.
vx::HostMatrix3 ScaledAt(const vx::HostPoint3& scale, float x, float y, float z);

} // namespace vxtest
