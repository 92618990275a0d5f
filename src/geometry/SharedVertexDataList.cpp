#include "geometry/SharedVertexDataList.h"

#include "geometry/SameVertexData.h"
#include "materials/PerRunTable.h"

#include <unordered_map>
#include <vector>

namespace vx {

namespace {

struct List {
    std::vector<VMRef<VMVertexData>> entries;
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

} // namespace

VMRef<VMVertexData> FindOrAddSharedVertexData(VMVertexData* vertexData)
{
    if (!vertexData)
        return {};
    Hook().Touch();
    List& list = TheList();
    std::vector<std::size_t>& bucket = list.buckets[VertexDataKey(*vertexData)];
    for (const std::size_t index : bucket) {
        VMVertexData* candidate = list.entries[index].Get();
        if (SameVertexData(*vertexData, *candidate))
            return VMRef<VMVertexData>(candidate);
    }
    bucket.push_back(list.entries.size());
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
