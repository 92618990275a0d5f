#include "memoryhost/MemoryShader.h"

namespace vx {

int MemoryShader::GetParamInt(int id) const
{
    const auto found = intParams.find(id);
    return found == intParams.end() ? 0 : found->second;
}

float MemoryShader::GetParamFloat(int id) const
{
    const auto found = floatParams.find(id);
    return found == floatParams.end() ? 0.0f : found->second;
}

HostColor MemoryShader::GetParamColor(int id) const
{
    const auto found = colorParams.find(id);
    return found == colorParams.end() ? HostColor {} : found->second;
}

} // namespace vx
