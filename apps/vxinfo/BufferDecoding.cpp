#include "vxinfo/BufferDecoding.h"

#include <bit>
#include <cstring>

namespace vxinfo {

namespace {

constexpr int64_t CUSTOM_BITS = 0x78; // channels 4-7
constexpr int64_t TEXTURE_BITS = 0x7F80; // channels 8-15

float ReadFloat(const std::string& bytes, std::size_t offset)
{
    uint8_t b[4];
    std::memcpy(b, bytes.data() + offset, 4);
    const uint32_t bits = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return std::bit_cast<float>(bits);
}

template <std::size_t N>
std::vector<std::array<float, N>> DecodeChannel(
    const std::string& bytes, const VertexLayout& layout, int offset, int components)
{
    std::vector<std::array<float, N>> values;
    if (offset < 0 || layout.stride <= 0)
        return values;
    const std::size_t stride = static_cast<std::size_t>(layout.stride);
    const std::size_t count = bytes.size() / stride;
    values.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        for (int k = 0; k < components && k < static_cast<int>(N); ++k)
            values[i][static_cast<std::size_t>(k)] = ReadFloat(
                bytes, i * stride + static_cast<std::size_t>(offset) + 4 * static_cast<std::size_t>(k));
    return values;
}

} // namespace

VertexLayoutResult FindVertexLayout(int64_t count, int64_t items, int64_t byteSize)
{
    VertexLayoutResult result;
    if (count < 0 || items < 0 || items > 0x7FFF) {
        result.error
            = "count " + std::to_string(count) + " or items " + std::to_string(items) + " out of range";
        return result;
    }
    if ((items & 1) == 0) {
        result.error = "items " + std::to_string(items) + " has no positions";
        return result;
    }
    if (count == 0) {
        result.ok = byteSize == 0;
        if (!result.ok)
            result.error = "holds " + std::to_string(byteSize) + " bytes for 0 vertices";
        return result;
    }
    if (byteSize % count != 0) {
        result.error = "holds " + std::to_string(byteSize) + " bytes, not a whole record for each of "
            + std::to_string(count) + " vertices";
        return result;
    }
    const int64_t stride = byteSize / count;
    if (stride > 4096) {
        result.error = "holds " + std::to_string(stride) + " bytes per vertex, more than any layout";
        return result;
    }
    VertexLayout& layout = result.layout;
    int fixed = 12;
    if (items & 2) {
        layout.normalOffset = fixed;
        fixed += 12;
    }
    if (items & 4)
        fixed += 16;
    const int sets = std::popcount(static_cast<uint64_t>(items & TEXTURE_BITS));
    const bool custom = (items & CUSTOM_BITS) != 0;
    const int64_t rest = stride - fixed;
    const auto fail = [&](const std::string& expected) {
        result.error = "holds " + std::to_string(byteSize) + " bytes for " + std::to_string(count)
            + " vertices (" + std::to_string(stride) + " per vertex; items " + std::to_string(items)
            + " needs " + expected + ")";
        return result;
    };
    if (custom) {
        // Custom channels have no fixed size: only a lower bound holds.
        if (rest < 1 + 4 * sets)
            return fail("more than " + std::to_string(fixed + 4 * sets));
    } else if (sets == 0) {
        if (rest != 0)
            return fail(std::to_string(fixed));
    } else {
        if (rest % (4 * sets) != 0 || rest / (4 * sets) < 1 || rest / (4 * sets) > 4)
            return fail(std::to_string(fixed + 4 * sets) + " to " + std::to_string(fixed + 16 * sets)
                + " in steps of " + std::to_string(4 * sets));
        layout.texCoordOffset = fixed;
        layout.texCoordComponents = static_cast<int>(rest / (4 * sets));
    }
    layout.stride = static_cast<int>(stride);
    result.ok = true;
    return result;
}

std::vector<std::array<float, 3>> DecodePositions(const std::string& bytes, const VertexLayout& layout)
{
    return DecodeChannel<3>(bytes, layout, 0, 3);
}

std::vector<std::array<float, 3>> DecodeNormals(const std::string& bytes, const VertexLayout& layout)
{
    return DecodeChannel<3>(bytes, layout, layout.normalOffset, 3);
}

std::vector<std::array<float, 2>> DecodeTexCoords(const std::string& bytes, const VertexLayout& layout)
{
    return DecodeChannel<2>(bytes, layout, layout.texCoordOffset, layout.texCoordComponents);
}

std::vector<uint16_t> DecodeIndices(const std::string& bytes)
{
    std::vector<uint16_t> indices(bytes.size() / 2);
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<uint16_t>(
            static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    return indices;
}

} // namespace vxinfo
