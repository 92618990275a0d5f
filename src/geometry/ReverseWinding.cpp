#include "geometry/ReverseWinding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vx {

namespace {

// Swaps the elementSize-byte elements a and b of bytes.
void SwapElements(uint8_t* bytes, std::size_t elementSize, std::size_t a, std::size_t b)
{
    std::swap_ranges(bytes + a * elementSize, bytes + (a + 1) * elementSize, bytes + b * elementSize);
}

} // namespace

void ReverseWinding(VMVertexData& v)
{
    if (v.primitiveType != VMVertexData::TRIANGLE_LIST)
        return;
    auto& indices = v.channels[VMVertexData::INDEX_CHANNEL];
    if (v.indexCount > 0 && indices.size() >= static_cast<std::size_t>(v.indexCount) * sizeof(uint16_t)) {
        const std::size_t triangles = static_cast<std::size_t>(v.indexCount) / 3;
        for (std::size_t t = 0; t < triangles; ++t)
            SwapElements(indices.data(), sizeof(uint16_t), 3 * t + 1, 3 * t + 2);
        return;
    }
    const std::size_t triangles = static_cast<std::size_t>(std::max(v.vertexCount, 0)) / 3;
    for (int slot = VMVertexData::POSITION_CHANNEL; slot < VMVertexData::NUM_CHANNELS; ++slot) {
        const std::size_t size = v.ElementSize(slot);
        if (size == 0)
            continue;
        uint8_t* bytes = v.channels[static_cast<std::size_t>(slot)].data();
        for (std::size_t t = 0; t < triangles; ++t)
            SwapElements(bytes, size, 3 * t + 1, 3 * t + 2);
    }
}

} // namespace vx
