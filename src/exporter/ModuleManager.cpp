#include "exporter/ModuleManager.h"

#include "scene/passes/CMGemoOptimizer.h"
#include "scene/passes/CompIdGenerator.h"
#include "scene/passes/CompIdOptimizer.h"
#include "scene/passes/CompIdRegistry.h"

namespace vx {

bool ModuleManager::AddPass(std::unique_ptr<IModule> pass)
{
    int next = 0;
    for (int index = 0; index < MAX_PASSES; ++index) {
        if (HasPass(index))
            next = index + 1;
    }
    return SetPass(next, std::move(pass));
}

bool ModuleManager::SetPass(int index, std::unique_ptr<IModule> pass)
{
    if (!pass || index < 0 || index >= MAX_PASSES || HasPass(index))
        return false;
    passes_[static_cast<std::size_t>(index)] = std::move(pass);
    return true;
}

int ModuleManager::PassCount() const
{
    int count = 0;
    for (const auto& pass : passes_)
        count += pass ? 1 : 0;
    return count;
}

bool ModuleManager::HasPass(int index) const
{
    return index >= 0 && index < MAX_PASSES && passes_[static_cast<std::size_t>(index)] != nullptr;
}

uint32_t ModuleManager::RunEnableBits(bool optimizeGeometry) const
{
    uint32_t bits = 0;
    for (int index = 0; index < MAX_PASSES; ++index) {
        if (HasPass(index))
            bits |= 1u << index;
    }
    if (!optimizeGeometry)
        bits &= ~(1u << GEOMETRY_OPTIMIZER_INDEX);
    return bits;
}

void ModuleManager::Run(uint32_t enableBits)
{
    EmptyCompIdRegistry();
    messages_.Clear();
    for (int index = 0; index < MAX_PASSES; ++index) {
        if ((enableBits & (1u << index)) == 0 || !HasPass(index))
            continue;
        IModule& pass = *passes_[static_cast<std::size_t>(index)];
        pass.Attach(&messages_);
        pass.Run();
    }
}

void ModuleManager::EmptyCompIdRegistry()
{
    CompIdRegistry::Instance().Clear();
}

void AddRunPasses(ModuleManager& modules, Host* host, HostNode* root)
{
    modules.SetPass(ModuleManager::GEOMETRY_OPTIMIZER_INDEX, std::make_unique<CMGemoOptimizer>(host));
    modules.SetPass(ModuleManager::COMP_ID_GENERATOR_INDEX, std::make_unique<CompIdGenerator>(root));
    modules.SetPass(ModuleManager::COMP_ID_OPTIMIZER_INDEX, std::make_unique<CompIdOptimizer>());
}

} // namespace vx
