#pragma once
// CompIdRegistry: what the composite-identifier passes share. One process-wide object, made on
// first use; the module manager empties it at the start of every export run.

#include "scene/passes/LeafStack.h"

#include "base/HashMap.h"
#include "base/UniqueId.h"

#include <string>
#include <vector>

namespace vx {

class HostNode;

// The nodes that share one geometry key, and the identifier given to that key.
struct CompIdKeyEntry {
    std::vector<HostNode*> nodes;
    DUniqueID id;
};

class CompIdRegistry {
public:
    // The process-wide registry.
    static CompIdRegistry& Instance();

    // Appends node to the nodes recorded under id, and id to the identifier list when it is new.
    void RecordId(const DUniqueID& id, HostNode* node);
    // The nodes recorded under id, or null when id was never recorded.
    const std::vector<HostNode*>* NodesOf(const DUniqueID& id) const;
    // Empties the leaf stack, the identifier list and both maps.
    void Clear();

    LeafStack leafStack;
    // Every recorded identifier, in the order of its first record.
    std::vector<DUniqueID> ids;
    // Geometry key text -> the nodes with that key and their identifier.
    HashMap<std::string, CompIdKeyEntry> keyMap;
    // Identifier -> the nodes recorded under it, in the order recorded.
    HashMap<DUniqueID, std::vector<HostNode*>> idMap;
};

} // namespace vx
