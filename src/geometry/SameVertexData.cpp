#include "geometry/SameVertexData.h"

#include "base/Numeric.h"
#include "toolkit/VMVertexData.h"

#include <cstring>

namespace vx {

namespace {

constexpr float NORMAL_DOT_MINIMUM = 0.9f;

bool SameBytes(const VMVertexData& a, const VMVertexData& b, int slot)
{
    const auto& x = a.channels[static_cast<std::size_t>(slot)];
    const auto& y = b.channels[static_cast<std::size_t>(slot)];
    return x.size() == y.size() && (x.empty() || std::memcmp(x.data(), y.data(), x.size()) == 0);
}

// The three floats at bytes.
Vector3 LoadVector(const uint8_t* bytes)
{
    float xyz[3];
    std::memcpy(xyz, bytes, sizeof xyz);
    return {xyz[0], xyz[1], xyz[2]};
}

// Both have the same vertex count. Elements shorter than three floats read as the zero vector.
bool SamePositions(const VMVertexData& a, const VMVertexData& b)
{
    const std::size_t size = a.ElementSize(VMVertexData::POSITION_CHANNEL);
    if (size != b.ElementSize(VMVertexData::POSITION_CHANNEL))
        return false;
    if (size < 3 * sizeof(float))
        return true;
    const uint8_t* x = a.channels[VMVertexData::POSITION_CHANNEL].data();
    const uint8_t* y = b.channels[VMVertexData::POSITION_CHANNEL].data();
    for (int32_t i = 0; i < a.vertexCount; ++i, x += size, y += size) {
        const Vector3 p = LoadVector(x);
        const Vector3 q = LoadVector(y);
        if (!_feqz(p.x - q.x) || !_feqz(p.y - q.y) || !_feqz(p.z - q.z))
            return false;
    }
    return true;
}

// Both have the same vertex count. A normal element shorter than three floats reads as the zero
// vector, which is similar to nothing.
bool SimilarNormals(const VMVertexData& a, const VMVertexData& b)
{
    if (!a.HasChannel(VMVertexData::NORMAL_CHANNEL) || !b.HasChannel(VMVertexData::NORMAL_CHANNEL))
        return true;
    if (a.vertexCount <= 0)
        return true;
    const std::size_t sizeA = a.ElementSize(VMVertexData::NORMAL_CHANNEL);
    const std::size_t sizeB = b.ElementSize(VMVertexData::NORMAL_CHANNEL);
    if (sizeA < 3 * sizeof(float) || sizeB < 3 * sizeof(float))
        return false;
    const uint8_t* x = a.channels[VMVertexData::NORMAL_CHANNEL].data();
    const uint8_t* y = b.channels[VMVertexData::NORMAL_CHANNEL].data();
    for (int32_t i = 0; i < a.vertexCount; ++i, x += sizeA, y += sizeB) {
        const Vector3 n = LoadVector(x);
        const Vector3 m = LoadVector(y);
        const float dot = n.x * m.x + n.y * m.y + n.z * m.z;
        if (!(dot >= NORMAL_DOT_MINIMUM))
            return false;
    }
    return true;
}

// A hash of bytes, eight at a time (FNV-1a style mixing of 64-bit words). Only bucketing uses it.
struct Hasher {
    uint64_t value = 1469598103934665603ull;
    void Word(uint64_t word)
    {
        value ^= word;
        value *= 1099511628211ull;
        value ^= value >> 29;
    }
    void Bytes(const uint8_t* data, std::size_t size)
    {
        for (; size >= sizeof(uint64_t); data += sizeof(uint64_t), size -= sizeof(uint64_t)) {
            uint64_t word;
            std::memcpy(&word, data, sizeof word);
            Word(word);
        }
        uint64_t tail = 0;
        if (size > 0)
            std::memcpy(&tail, data, size);
        Word(tail);
    }
    void Number(uint64_t n) { Word(n); }
    void Channel(const VMVertexData& v, int slot)
    {
        const auto& bytes = v.channels[static_cast<std::size_t>(slot)];
        Number(bytes.size());
        Bytes(bytes.data(), bytes.size());
    }
};

} // namespace

bool SameVertexData(const VMVertexData& a, const VMVertexData& b)
{
    if (a.primitiveType != b.primitiveType || a.indexCount != b.indexCount || a.vertexCount != b.vertexCount)
        return false;
    // Positions first: candidates of one bucket share their exact fields and their first position,
    // and most of them differ in a position soon after.
    if (!SamePositions(a, b))
        return false;
    if (!SameBytes(a, b, VMVertexData::INDEX_CHANNEL) || !SameBytes(a, b, VMVertexData::COLOUR_CHANNEL))
        return false;
    for (int set = 0; set < VMVertexData::NUM_TEXCOORD_SETS; ++set) {
        if (!SameBytes(a, b, VMVertexData::FIRST_TEXCOORD_CHANNEL + set))
            return false;
    }
    return SimilarNormals(a, b);
}

uint64_t VertexDataKey(const VMVertexData& v)
{
    Hasher h;
    h.Number(static_cast<uint32_t>(v.primitiveType));
    h.Number(static_cast<uint32_t>(v.indexCount));
    h.Number(static_cast<uint32_t>(v.vertexCount));
    h.Channel(v, VMVertexData::INDEX_CHANNEL);
    h.Channel(v, VMVertexData::COLOUR_CHANNEL);
    for (int set = 0; set < VMVertexData::NUM_TEXCOORD_SETS; ++set)
        h.Channel(v, VMVertexData::FIRST_TEXCOORD_CHANNEL + set);
    return h.value;
}

} // namespace vx
