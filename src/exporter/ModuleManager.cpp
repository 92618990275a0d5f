#include "exporter/ModuleManager.h"

namespace vx {

void ModuleMessageSink::Log(const std::string& text, bool)
{
    // The run gives no status window, so a flush has nowhere to show the text.
    text_ += text;
}

bool ModuleManager::AddPass(std::unique_ptr<IModule> pass)
{
    if (!pass || PassCount() >= MAX_PASSES)
        return false;
    passes_.push_back(std::move(pass));
    return true;
}

uint32_t ModuleManager::RunEnableBits(bool optimizeGeometry) const
{
    uint32_t bits = (1u << PassCount()) - 1u;
    if (!optimizeGeometry)
        bits &= ~(1u << GEOMETRY_OPTIMIZER_INDEX);
    return bits;
}

void ModuleManager::Run(uint32_t enableBits)
{
    EmptyCompIdRegistry();
    messages_.Clear();
    for (int index = 0; index < PassCount(); ++index) {
        if ((enableBits & (1u << index)) == 0)
            continue;
        IModule& pass = *passes_[static_cast<std::size_t>(index)];
        pass.Attach(&messages_);
        pass.Run();
    }
}

void ModuleManager::EmptyCompIdRegistry()
{
    // The composite-identifier registry comes with the composite-identifier passes.
}

} // namespace vx
