#include "scene/passes/LeafStack.h"

namespace vx {

void LeafStack::Push(HostNode* node)
{
    entries_.push_back(Entry {node, nextStamp_++});
    ++states_[node].live;
    ++live_;
}

HostNode* LeafStack::Pop()
{
    while (!entries_.empty()) {
        const Entry entry = entries_.back();
        entries_.pop_back();
        NodeState& state = states_[entry.node];
        // Entries older than the node's last removal are gone already.
        if (entry.stamp < state.removedBefore)
            continue;
        --state.live;
        --live_;
        return entry.node;
    }
    return nullptr;
}

void LeafStack::Remove(const HostNode* node)
{
    const auto found = states_.find(node);
    if (found == states_.end() || found->second.live == 0)
        return;
    live_ -= found->second.live;
    found->second.live = 0;
    found->second.removedBefore = nextStamp_;
}

bool LeafStack::Contains(const HostNode* node) const
{
    const auto found = states_.find(node);
    return found != states_.end() && found->second.live > 0;
}

void LeafStack::Clear()
{
    entries_.clear();
    states_.clear();
    nextStamp_ = 0;
    live_ = 0;
}

} // namespace vx
