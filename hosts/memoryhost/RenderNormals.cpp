#include "memoryhost/RenderNormals.h"

#include "base/Assert.h"

#include <array>
#include <bit>
#include <cstdint>

namespace vx {

namespace {

bool HasValidIndices(const HostFace& face, size_t vertexCount)
{
    return face.v[0] < vertexCount && face.v[1] < vertexCount && face.v[2] < vertexCount;
}

HostPoint3 ComputeFaceNormal(std::span<const HostPoint3> verts, const HostFace& face)
{
    const HostPoint3& a = verts[face.v[0]];
    const HostPoint3& b = verts[face.v[1]];
    const HostPoint3& c = verts[face.v[2]];
    return Normalize(CrossProduct(b - a, c - a));
}

// Union-find over the 32 smoothing-group bits of one vertex.
class BitSets {
public:
    BitSets()
    {
        for (int i = 0; i < 32; ++i)
            parent_[i] = static_cast<std::uint8_t>(i);
    }
    int Find(int bit)
    {
        while (parent_[bit] != bit) {
            parent_[bit] = parent_[parent_[bit]];
            bit = parent_[bit];
        }
        return bit;
    }
    void Join(std::uint32_t groups)
    {
        const int first = std::countr_zero(groups);
        for (std::uint32_t rest = groups & (groups - 1); rest != 0; rest &= rest - 1)
            parent_[Find(std::countr_zero(rest))] = static_cast<std::uint8_t>(Find(first));
    }

private:
    std::array<std::uint8_t, 32> parent_ {};
};

// Points every vertex's view at its part of normals; start holds each vertex's first normal and,
// last, the total. Done once normals no longer grows.
void AttachViews(RenderNormals& result, const std::vector<std::uint32_t>& start)
{
    for (size_t v = 0; v + 1 < start.size(); ++v)
        result.vertices[v].normals = HostArray<HostRenderNormal> {
            result.normals.data() + start[v], static_cast<size_t>(start[v + 1] - start[v])};
}

} // namespace

RenderNormals BuildRenderNormals(std::span<const HostPoint3> verts, std::span<const HostFace> faces,
    std::span<const HostPoint3> explicitNormals)
{
    RenderNormals result;
    result.vertices.resize(verts.size());
    result.faceNormals.resize(faces.size());

    bool reportedBadFace = false;
    for (size_t f = 0; f < faces.size(); ++f) {
        if (!HasValidIndices(faces[f], verts.size())) {
            if (!reportedBadFace)
                VX_ASSERT_TEXT(false, "face vertex index < vertex count");
            reportedBadFace = true;
            continue;
        }
        result.faceNormals[f] = ComputeFaceNormal(verts, faces[f]);
    }

    if (!explicitNormals.empty()) {
        if (VX_ASSERT_TEXT(explicitNormals.size() == verts.size(), "explicit normal count == vertex count")) {
            result.normals.reserve(verts.size());
            for (size_t v = 0; v < verts.size(); ++v) {
                result.vertices[v].specified = true;
                // Reserved above: the list does not move while the views are made.
                result.normals.push_back({explicitNormals[v], 0});
                result.vertices[v].normals = HostArray<HostRenderNormal> {&result.normals.back(), 1};
            }
            return result;
        }
    }

    // Faces around each vertex, in face order (compressed lists: start offsets, then face indices).
    std::vector<std::uint32_t> start(verts.size() + 1, 0);
    for (const HostFace& face : faces) {
        if (face.smGroup == 0 || !HasValidIndices(face, verts.size()))
            continue;
        for (std::uint32_t v : face.v)
            ++start[v + 1];
    }
    for (size_t v = 0; v < verts.size(); ++v)
        start[v + 1] += start[v];
    std::vector<std::uint32_t> around(start.back());
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    for (size_t f = 0; f < faces.size(); ++f) {
        if (faces[f].smGroup == 0 || !HasValidIndices(faces[f], verts.size()))
            continue;
        for (std::uint32_t v : faces[f].v)
            around[fill[v]++] = static_cast<std::uint32_t>(f);
    }
    std::vector<std::uint32_t>().swap(fill);

    // Mostly one normal per vertex that has faces.
    result.normals.reserve(verts.size());
    std::vector<std::uint32_t> normalStart(verts.size() + 1, 0);
    for (size_t v = 0; v < verts.size(); ++v) {
        normalStart[v] = static_cast<std::uint32_t>(result.normals.size());
        const std::uint32_t first = start[v];
        const std::uint32_t last = start[v + 1];
        if (first == last)
            continue;
        BitSets sets;
        for (std::uint32_t i = first; i < last; ++i)
            sets.Join(faces[around[i]].smGroup);
        // One accumulator per set, indexed by the set's representative bit.
        std::array<int, 32> slotOfSet;
        slotOfSet.fill(-1);
        struct Sum {
            double x = 0, y = 0, z = 0;
            std::uint32_t groups = 0;
        };
        // At most one set per smoothing-group bit: a fixed array, no allocation per vertex.
        std::array<Sum, 32> sums;
        int sumCount = 0;
        for (std::uint32_t i = first; i < last; ++i) {
            const HostFace& face = faces[around[i]];
            const int set = sets.Find(std::countr_zero(face.smGroup));
            if (slotOfSet[set] < 0)
                slotOfSet[set] = sumCount++;
            Sum& sum = sums[static_cast<std::size_t>(slotOfSet[set])];
            const HostPoint3& n = result.faceNormals[around[i]];
            sum.x += n.x, sum.y += n.y, sum.z += n.z;
            sum.groups |= face.smGroup;
        }
        for (const Sum& sum : std::span(sums.data(), static_cast<std::size_t>(sumCount))) {
            const HostPoint3 total {
                static_cast<float>(sum.x), static_cast<float>(sum.y), static_cast<float>(sum.z)};
            result.normals.push_back({Normalize(total), sum.groups});
        }
    }
    normalStart[verts.size()] = static_cast<std::uint32_t>(result.normals.size());
    AttachViews(result, normalStart);
    return result;
}

} // namespace vx
