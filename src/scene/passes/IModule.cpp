#include "scene/passes/IModule.h"

namespace vx {

void ModuleMessageSink::Log(const std::string& text, bool)
{
    // The run gives no status window, so a flush has nowhere to show the text.
    text_ += text;
}

} // namespace vx
