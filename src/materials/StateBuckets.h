#pragma once
// StateBuckets: render states in insertion order, grouped by StateIdentityKey so that a search for
// an identical state compares only candidates with the same key.

#include "toolkit/VMRef.h"
#include "toolkit/VMRenderState.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vx {

class StateBuckets {
public:
    // The first state in insertion order identical to state, or null.
    VMRenderState* FindIdentical(const VMRenderState& state) const;
    // Appends state (taking a reference); null is ignored.
    void Add(VMRenderState* state);
    // The states in insertion order.
    const std::vector<VMRef<VMRenderState>>& States() const { return states_; }
    void Clear();

private:
    std::vector<VMRef<VMRenderState>> states_;
    std::unordered_map<uint64_t, std::vector<std::size_t>> buckets_;
};

} // namespace vx
