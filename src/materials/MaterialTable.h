#pragma once
// The run's material table: host material -> render state, and the distinct states in the order
// they were registered (with their names, for the naming messages).

#include "base/PointerMap.h"
#include "materials/StateBuckets.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace vx {

class HostMaterial;

struct MaterialTable {
    // Each state is also held by `states`, which keeps the references.
    PointerMap<VMRenderState*> byMaterial;
    StateBuckets states;
    // Name -> the registered states of that name, in registration order.
    std::unordered_map<std::string, std::vector<VMRenderState*>> byName;
    std::size_t materialCount = 0;

    void Clear()
    {
        byMaterial.Clear();
        byName.clear();
        states.Clear();
        materialCount = 0;
    }
};

// The process-wide table, registered with the current run on every call.
MaterialTable& CurrentMaterialTable();

} // namespace vx
