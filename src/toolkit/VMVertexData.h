#pragma once
// VMVertexData: the in-memory geometry buffer of a model pair, shared by reference count. Up to 16
// typed channels over a common vertex count: slot 0 the 16-bit index list, 1 positions, 2 normals,
// 3 colours, 4-7 custom data, 8-15 texture coordinate sets 0-7. A channel is present when it holds
// bytes.
// The class grows with the geometry converters (channel operations, format code, comparison).

#include "toolkit/VMRefCounted.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

class VMVertexData : public VMRefCounted {
public:
    static constexpr int NUM_CHANNELS = 16;
    static constexpr int INDEX_CHANNEL = 0;
    static constexpr int POSITION_CHANNEL = 1;
    static constexpr int NORMAL_CHANNEL = 2;
    static constexpr int COLOUR_CHANNEL = 3;
    static constexpr int FIRST_CUSTOM_CHANNEL = 4;
    static constexpr int FIRST_TEXCOORD_CHANNEL = 8;
    // The only primitive type the exporter creates.
    static constexpr int32_t TRIANGLE_LIST = 3;

    // A new vertex data: no channels, counts 0, primitive type 0.
    VMVertexData() = default;

    // The byte size of channel slot (0 for a slot outside 0 .. 15). Kept at full width: a size is
    // never cut to 32 bits on its way out.
    std::size_t ChannelSize(int slot) const;
    // Whether channel slot holds bytes.
    bool HasChannel(int slot) const { return ChannelSize(slot) != 0; }

    int32_t primitiveType = 0;
    std::array<std::vector<uint8_t>, NUM_CHANNELS> channels;
    int32_t vertexCount = 0;
    int32_t indexCount = 0;
    // The number the model description writer gives the vertex data; 0 until then.
    int32_t Tag = 0;
};

} // namespace vx
