#pragma once
// A conversion run for material tests: a scene context (whose end empties the run's tables), the
// run state with its options, and the messages of the run.

#include "memoryhost/MemoryHost.h"
#include "memoryhost/MemoryMaterial.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"
#include "toolkit/VMMessages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vxtest {

class MaterialRun : public ::testing::Test {
protected:
    MaterialRun()
        : context_(std::make_unique<vx::SceneContext>())
        , sink_([this](vx::VMMessageKind kind, std::string_view text) {
            messages += vx::MessagePrefix(kind) + std::string(text) + "\n";
        })
    {
        vx::CurrentSceneContext() = context_.get();
        vx::CurrentExporter() = &run;
    }
    ~MaterialRun() override
    {
        vx::CurrentExporter() = nullptr;
        vx::CurrentSceneContext() = nullptr;
        context_.reset();
    }

    vx::MemoryMaterial& Standard(const char* name)
    {
        return host.AddMaterial(vx::kClassStandardMaterial2, name);
    }

    vx::MemoryHost host;
    vx::ExportRunState run;
    std::string messages;

private:
    std::unique_ptr<vx::SceneContext> context_;
    vx::ScopedMessageSink sink_;
};

} // namespace vxtest
