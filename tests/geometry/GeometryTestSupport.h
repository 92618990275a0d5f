#pragma once
// A conversion run for geometry tests: a scene context with a known scale, run options, a log
// file that the tests read back, the run's messages, and helpers that build mesh nodes.

#include "memoryhost/MemoryHost.h"
#include "memoryhost/MemoryMesh.h"
#include "memoryhost/MemoryNode.h"
#include "memoryhost/MemoryObject.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"
#include "toolkit/VMMessages.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace vxtest {

class GeometryRun : public ::testing::Test {
protected:
    GeometryRun()
        : context_(std::make_unique<vx::SceneContext>())
        , sink_([this](vx::VMMessageKind kind, std::string_view text) {
            messages += vx::MessagePrefix(kind) + std::string(text) + "\n";
        })
    {
        context_->scaleFactor = 0.01f;
        vx::CurrentSceneContext() = context_.get();
        vx::CurrentExporter() = &run;
        logPath_ = folder_.File("run.log");
        run.log.CreateNew(logPath_.c_str(), true);
    }
    ~GeometryRun() override
    {
        run.log.Close();
        vx::CurrentExporter() = nullptr;
        vx::CurrentSceneContext() = nullptr;
        context_.reset();
    }

    // Closes the log and returns its text.
    std::string CloseLog()
    {
        run.log.Close();
        std::ifstream in(logPath_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // A node under the root showing a triangle mesh object with verts and faces.
    vx::MemoryNode& AddMeshNode(const char* name, vx::MeshArray<vx::HostPoint3> verts,
        vx::MeshArray<vx::HostFace> faces, vx::MemoryMesh** meshOut = nullptr)
    {
        auto mesh = std::make_unique<vx::MemoryMesh>();
        mesh->SetVerts(std::move(verts));
        mesh->SetFaces(std::move(faces));
        if (meshOut)
            *meshOut = mesh.get();
        vx::MemoryObject& object = host.AddObject(vx::kSuperClassGeometry, vx::kClassTriangleMesh);
        object.SetMesh(std::move(mesh));
        vx::MemoryNode& node = host.AddNode(host.GetRoot(), name);
        node.SetObjectRef(&object);
        return node;
    }

    vx::MemoryHost host;
    vx::ExportRunState run;
    std::string messages;

private:
    TempDir folder_;
    std::string logPath_;
    std::unique_ptr<vx::SceneContext> context_;
    vx::ScopedMessageSink sink_;
};

} // namespace vxtest
