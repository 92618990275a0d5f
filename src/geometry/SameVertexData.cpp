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

bool SamePositions(const VMVertexData& a, const VMVertexData& b)
{
    if (a.ElementSize(VMVertexData::POSITION_CHANNEL) != b.ElementSize(VMVertexData::POSITION_CHANNEL))
        return false;
    for (int32_t i = 0; i < a.vertexCount; ++i) {
        const Vector3 p = a.GetPosition(i);
        const Vector3 q = b.GetPosition(i);
        if (!_feqz(p.x - q.x) || !_feqz(p.y - q.y) || !_feqz(p.z - q.z))
            return false;
    }
    return true;
}

bool SimilarNormals(const VMVertexData& a, const VMVertexData& b)
{
    if (!a.HasChannel(VMVertexData::NORMAL_CHANNEL) || !b.HasChannel(VMVertexData::NORMAL_CHANNEL))
        return true;
    for (int32_t i = 0; i < a.vertexCount; ++i) {
        const Vector3 n = a.GetNormal(i);
        const Vector3 m = b.GetNormal(i);
        const float dot = n.x * m.x + n.y * m.y + n.z * m.z;
        if (!(dot >= NORMAL_DOT_MINIMUM))
            return false;
    }
    return true;
}

// FNV-1a, 64 bits.
struct Hasher {
    uint64_t value = 1469598103934665603ull;
    void Bytes(const uint8_t* data, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i) {
            value ^= data[i];
            value *= 1099511628211ull;
        }
    }
    void Number(uint64_t n) { Bytes(reinterpret_cast<const uint8_t*>(&n), sizeof n); }
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
    if (!SameBytes(a, b, VMVertexData::INDEX_CHANNEL) || !SameBytes(a, b, VMVertexData::COLOUR_CHANNEL))
        return false;
    for (int set = 0; set < VMVertexData::NUM_TEXCOORD_SETS; ++set) {
        if (!SameBytes(a, b, VMVertexData::FIRST_TEXCOORD_CHANNEL + set))
            return false;
    }
    return SamePositions(a, b) && SimilarNormals(a, b);
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
