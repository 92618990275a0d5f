#include "geometry/ModelStateIndex.h"

#include "design/Model.h"
#include "materials/PerRunTable.h"
#include "materials/StateBuckets.h"

#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace vx {

namespace {

struct ModelEntry {
    // How many pairs have been looked at, and the state of the first pair then (a model that
    // shrank or changed its first pair is read again from the start).
    uint32_t scanned = 0;
    const VMRenderState* firstState = nullptr;
    StateBuckets states;
    std::unordered_set<const VMRenderState*> seen;
};

std::unordered_map<const ZR::Model*, ModelEntry>& Index()
{
    static std::unordered_map<const ZR::Model*, ModelEntry> index;
    return index;
}

PerRunTable& Hook()
{
    static PerRunTable hook([] { Index().clear(); });
    return hook;
}

void CatchUp(ModelEntry& entry, const ZR::Model& model)
{
    const uint32_t count = model.pairs.Count();
    const VMRenderState* first = count > 0 ? model.pairs[0].rs.Get() : nullptr;
    if (entry.scanned > count || (entry.scanned > 0 && entry.firstState != first)) {
        entry = ModelEntry {};
    }
    for (uint32_t i = entry.scanned; i < count; ++i) {
        VMRenderState* state = model.pairs[i].rs.Get();
        if (i == 0)
            entry.firstState = state;
        if (state && entry.seen.insert(state).second)
            entry.states.Add(state);
    }
    entry.scanned = count;
}

} // namespace

VMRenderState* FindIdenticalModelState(const ZR::Model& model, const VMRenderState& state)
{
    Hook().Touch();
    ModelEntry& entry = Index()[&model];
    CatchUp(entry, model);
    return entry.states.FindIdentical(state);
}

} // namespace vx
