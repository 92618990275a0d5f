#include "geometry/OptimiseVertexData.h"

#include "toolkit/VMVertexData.h"

#include <cstring>
#include <unordered_map>
#include <vector>

namespace vx {

namespace {

constexpr int32_t MAX_INDEXED_VERTICES = 65536;

// A hash of vertex i consistent with SameVertex: exact bytes, texture coordinates with -0 as 0.
uint64_t VertexHash(const VMVertexData& v, int32_t i)
{
    uint64_t h = 1469598103934665603ull;
    auto add = [&h](const uint8_t* data, std::size_t size) {
        for (std::size_t k = 0; k < size; ++k) {
            h ^= data[k];
            h *= 1099511628211ull;
        }
    };
    for (int slot = VMVertexData::POSITION_CHANNEL; slot < VMVertexData::FIRST_TEXCOORD_CHANNEL; ++slot) {
        const auto bytes = v.Element(slot, i);
        add(bytes.data(), bytes.size());
    }
    for (int set = 0; set < VMVertexData::NUM_TEXCOORD_SETS; ++set) {
        for (int c = 0; c < v.TexCoordComponents(set); ++c) {
            float value = v.GetTexCoord(set, i, c);
            if (value == 0.0f)
                value = 0.0f;
            uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            add(reinterpret_cast<const uint8_t*>(&bits), sizeof bits);
        }
    }
    return h;
}

// Numbers vertices by equality: each vertex gets the number of the first earlier kept vertex equal
// to it, or a new one. kept[n] is the last vertex merged into number n.
class Welder {
public:
    explicit Welder(const VMVertexData& v)
        : v_(v)
    {
    }

    int32_t Number(int32_t vertex)
    {
        std::vector<int32_t>& bucket = buckets_[VertexHash(v_, vertex)];
        for (const int32_t number : bucket) {
            if (SameVertex(v_, kept[static_cast<std::size_t>(number)], vertex)) {
                kept[static_cast<std::size_t>(number)] = vertex;
                return number;
            }
        }
        const auto number = static_cast<int32_t>(kept.size());
        kept.push_back(vertex);
        bucket.push_back(number);
        return number;
    }

    std::vector<int32_t> kept;

private:
    const VMVertexData& v_;
    std::unordered_map<uint64_t, std::vector<int32_t>> buckets_;
};

// Replaces v's vertices by v's vertices list[0 .. n), keeping its index list as it is.
void RebuildInPlace(VMVertexData& v, const std::vector<int32_t>& list)
{
    VMRef<VMVertexData> rebuilt = RebuildVertexData(v, list.data(), static_cast<int32_t>(list.size()));
    for (int slot = VMVertexData::POSITION_CHANNEL; slot < VMVertexData::NUM_CHANNELS; ++slot)
        v.channels[static_cast<std::size_t>(slot)].swap(rebuilt->channels[static_cast<std::size_t>(slot)]);
    v.vertexCount = rebuilt->vertexCount;
}

void SetIndexList(VMVertexData& v, const std::vector<int32_t>& indices)
{
    v.SetIndexCount(static_cast<int32_t>(indices.size()));
    for (std::size_t k = 0; k < indices.size(); ++k)
        v.SetIndex(static_cast<int32_t>(k), static_cast<uint16_t>(indices[k]));
}

void LargeWeld(VMVertexData& v)
{
    Welder welder(v);
    std::vector<int32_t> numbers(static_cast<std::size_t>(v.vertexCount));
    for (int32_t i = 0; i < v.vertexCount; ++i) {
        numbers[static_cast<std::size_t>(i)] = welder.Number(i);
        if (welder.kept.size() >= static_cast<std::size_t>(MAX_INDEXED_VERTICES))
            return;
    }
    if (welder.kept.size() == static_cast<std::size_t>(v.vertexCount))
        return;
    RebuildInPlace(v, welder.kept);
    SetIndexList(v, numbers);
}

// Keeps the valid triangles; returns false when none remains (v is then emptied).
bool RemoveDegenerateTriangles(VMVertexData& v)
{
    std::vector<int32_t> kept;
    kept.reserve(static_cast<std::size_t>(v.indexCount));
    const int32_t triangles = v.indexCount / 3;
    for (int32_t t = 0; t < triangles; ++t) {
        const int32_t i0 = v.GetIndex(3 * t);
        const int32_t i1 = v.GetIndex(3 * t + 1);
        const int32_t i2 = v.GetIndex(3 * t + 2);
        if (IsValidTriangle(v, i0, i1, i2))
            kept.insert(kept.end(), {i0, i1, i2});
    }
    if (kept.empty()) {
        v.FreeAll();
        return false;
    }
    if (kept.size() != static_cast<std::size_t>(v.indexCount))
        SetIndexList(v, kept);
    return true;
}

void Weld(VMVertexData& v)
{
    std::vector<int32_t> references(static_cast<std::size_t>(v.vertexCount), 0);
    for (int32_t k = 0; k < v.indexCount; ++k) {
        const uint16_t index = v.GetIndex(k);
        if (index < v.vertexCount)
            ++references[index];
    }
    Welder welder(v);
    std::vector<int32_t> numbers(static_cast<std::size_t>(v.vertexCount), 0);
    for (int32_t i = 0; i < v.vertexCount; ++i) {
        if (references[static_cast<std::size_t>(i)] > 0)
            numbers[static_cast<std::size_t>(i)] = welder.Number(i);
    }
    std::vector<int32_t> original(static_cast<std::size_t>(v.indexCount));
    std::vector<int32_t> renumbered(static_cast<std::size_t>(v.indexCount));
    for (int32_t k = 0; k < v.indexCount; ++k) {
        const uint16_t index = v.GetIndex(k);
        original[static_cast<std::size_t>(k)] = index;
        renumbered[static_cast<std::size_t>(k)] = index < v.vertexCount ? numbers[index] : 0;
    }
    if (welder.kept.size() == static_cast<std::size_t>(v.indexCount)) {
        v.SetIndexCount(0);
        RebuildInPlace(v, original);
        return;
    }
    SetIndexList(v, renumbered);
    if (welder.kept.size() != static_cast<std::size_t>(v.vertexCount))
        RebuildInPlace(v, welder.kept);
}

float SquaredLength(const Vector3& d)
{
    return d.x * d.x + d.y * d.y + d.z * d.z;
}

} // namespace

bool IsValidTriangle(const VMVertexData& v, int32_t i0, int32_t i1, int32_t i2)
{
    const int32_t n = v.vertexCount;
    if (i0 < 0 || i1 < 0 || i2 < 0 || i0 >= n || i1 >= n || i2 >= n || i0 == i1 || i1 == i2 || i0 == i2)
        return false;
    const Vector3 p0 = v.GetPosition(i0);
    const Vector3 p1 = v.GetPosition(i1);
    const Vector3 p2 = v.GetPosition(i2);
    const Vector3 a = p0 - p1;
    const Vector3 b = p0 - p2;
    const float e0 = SquaredLength(a);
    const float e1 = SquaredLength(p1 - p2);
    const float e2 = SquaredLength(b);
    if (!(e0 >= 1e-30f && e1 >= 1e-30f && e2 >= 1e-30f))
        return false;
    if (!(e0 >= 1e-8f * e2 && e0 <= 1e8f * e2))
        return false;
    const Vector3 c {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    return SquaredLength(c) >= e0 * e2 * 1e-8f;
}

bool SameVertex(const VMVertexData& v, int32_t a, int32_t b)
{
    for (int slot = VMVertexData::POSITION_CHANNEL; slot < VMVertexData::FIRST_TEXCOORD_CHANNEL; ++slot) {
        const auto x = v.Element(slot, a);
        const auto y = v.Element(slot, b);
        if (x.size() != y.size() || (!x.empty() && std::memcmp(x.data(), y.data(), x.size()) != 0))
            return false;
    }
    for (int set = 0; set < VMVertexData::NUM_TEXCOORD_SETS; ++set) {
        for (int c = 0; c < v.TexCoordComponents(set); ++c) {
            if (!(v.GetTexCoord(set, a, c) == v.GetTexCoord(set, b, c)))
                return false;
        }
    }
    return true;
}

void OptimiseVertexData(VMVertexData& v)
{
    if (!v.HasChannel(VMVertexData::INDEX_CHANNEL)) {
        if (v.vertexCount <= 0)
            return;
        if (v.vertexCount >= MAX_INDEXED_VERTICES) {
            LargeWeld(v);
            return;
        }
        std::vector<int32_t> identity(static_cast<std::size_t>(v.vertexCount));
        for (int32_t i = 0; i < v.vertexCount; ++i)
            identity[static_cast<std::size_t>(i)] = i;
        SetIndexList(v, identity);
    }
    if (v.primitiveType != VMVertexData::TRIANGLE_LIST)
        return;
    if (!RemoveDegenerateTriangles(v))
        return;
    Weld(v);
}

} // namespace vx
