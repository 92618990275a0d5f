#include "toolkit/VMVertexData.h"

namespace vx {

std::size_t VMVertexData::ChannelSize(int slot) const
{
    if (slot < 0 || slot >= NUM_CHANNELS)
        return 0;
    return channels[static_cast<std::size_t>(slot)].size();
}

} // namespace vx
