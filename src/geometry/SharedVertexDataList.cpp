#include "geometry/SharedVertexDataList.h"

#include "geometry/SameVertexData.h"
#include "materials/PerRunTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vx {

namespace {

struct List {
    std::vector<VMRef<VMVertexData>> entries;
    // Keyed by VertexDataKey and the grid cell of the first position (see CellOf).
    std::unordered_map<uint64_t, std::vector<std::size_t>> buckets;

    void Clear()
    {
        buckets.clear();
        entries.clear();
    }
};

List& TheList()
{
    static List list;
    return list;
}

PerRunTable& Hook()
{
    static PerRunTable hook([] { TheList().Clear(); });
    return hook;
}

// Grid cells four times the position tolerance (2^-16) wide: the first positions of two vertex
// data that are the same lie in the same or in neighbouring cells. Cells are clamped (which keeps
// neighbours neighbours); a NaN position matches nothing, so its cell does not matter.
constexpr double CELLS_PER_UNIT = 16384.0;
constexpr double CELL_LIMIT = 1125899906842624.0; // 2^50

int64_t CellOf(float value)
{
    double cell = std::floor(static_cast<double>(value) * CELLS_PER_UNIT);
    if (std::isnan(cell))
        cell = 0.0;
    return static_cast<int64_t>(std::clamp(cell, -CELL_LIMIT, CELL_LIMIT));
}

struct Cell {
    int64_t x = 0;
    int64_t y = 0;
    int64_t z = 0;
};

Cell FirstPositionCell(const VMVertexData& v)
{
    if (v.vertexCount <= 0)
        return {};
    const Vector3 p = v.GetPosition(0);
    return {CellOf(p.x), CellOf(p.y), CellOf(p.z)};
}

uint64_t BucketKey(uint64_t dataKey, const Cell& cell)
{
    uint64_t key = dataKey;
    for (const int64_t part : {cell.x, cell.y, cell.z}) {
        key ^= static_cast<uint64_t>(part) + 0x9E3779B97F4A7C15ull + (key << 6) + (key >> 2);
    }
    return key;
}

} // namespace

VMRef<VMVertexData> FindOrAddSharedVertexData(VMVertexData* vertexData)
{
    if (!vertexData)
        return {};
    Hook().Touch();
    List& list = TheList();
    const uint64_t dataKey = VertexDataKey(*vertexData);
    const Cell cell = FirstPositionCell(*vertexData);
    // Candidates from the 27 cells around the first position, compared in list order.
    std::vector<std::size_t> candidates;
    for (int64_t dx = -1; dx <= 1; ++dx) {
        for (int64_t dy = -1; dy <= 1; ++dy) {
            for (int64_t dz = -1; dz <= 1; ++dz) {
                const auto found
                    = list.buckets.find(BucketKey(dataKey, {cell.x + dx, cell.y + dy, cell.z + dz}));
                if (found != list.buckets.end())
                    candidates.insert(candidates.end(), found->second.begin(), found->second.end());
            }
        }
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (const std::size_t index : candidates) {
        VMVertexData* candidate = list.entries[index].Get();
        if (SameVertexData(*vertexData, *candidate))
            return VMRef<VMVertexData>(candidate);
    }
    list.buckets[BucketKey(dataKey, cell)].push_back(list.entries.size());
    list.entries.emplace_back(vertexData);
    return VMRef<VMVertexData>(vertexData);
}

std::size_t SharedVertexDataCount()
{
    return TheList().entries.size();
}

void EmptySharedVertexDataList()
{
    TheList().Clear();
}

} // namespace vx
