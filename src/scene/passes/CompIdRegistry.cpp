#include "scene/passes/CompIdRegistry.h"

namespace vx {

CompIdRegistry& CompIdRegistry::Instance()
{
    static CompIdRegistry registry;
    return registry;
}

void CompIdRegistry::RecordId(const DUniqueID& id, HostNode* node)
{
    const auto inserted = idMap.Insert(id);
    inserted.value->push_back(node);
    if (inserted.isNew)
        ids.push_back(id);
}

const std::vector<HostNode*>* CompIdRegistry::NodesOf(const DUniqueID& id) const
{
    return idMap.GetPtr(id);
}

void CompIdRegistry::Clear()
{
    leafStack.Clear();
    ids.clear();
    keyMap.Clear();
    idMap.Clear();
}

} // namespace vx
