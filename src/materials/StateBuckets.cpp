#include "materials/StateBuckets.h"

namespace vx {

VMRenderState* StateBuckets::FindIdentical(const VMRenderState& state) const
{
    const auto bucket = buckets_.find(StateIdentityKey(state));
    if (bucket == buckets_.end())
        return nullptr;
    for (const std::size_t index : bucket->second) {
        VMRenderState* candidate = states_[index].Get();
        if (AreIdenticalStates(&state, candidate))
            return candidate;
    }
    return nullptr;
}

void StateBuckets::Add(VMRenderState* state)
{
    if (!state)
        return;
    buckets_[StateIdentityKey(*state)].push_back(states_.size());
    states_.emplace_back(state);
}

void StateBuckets::Clear()
{
    buckets_.clear();
    states_.clear();
}

} // namespace vx
