#pragma once
// The leaf stack of the composite-identifier passes: host nodes pushed and popped last in, first
// out, with constant-time membership and removal, so that a group with thousands of children is
// handled in time linear in their number.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vx {

class HostNode;

class LeafStack {
public:
    // Pushes node (a node may be on the stack more than once).
    void Push(HostNode* node);
    // Takes off the most recently pushed node still on the stack; null when the stack is empty.
    HostNode* Pop();
    // Takes every occurrence of node off the stack; nothing when it is not there.
    void Remove(const HostNode* node);
    // Whether node is on the stack.
    bool Contains(const HostNode* node) const;
    // The number of nodes on the stack.
    std::size_t Count() const { return live_; }
    bool IsEmpty() const { return live_ == 0; }
    void Clear();

private:
    struct Entry {
        HostNode* node;
        std::uint64_t stamp;
    };
    // How often a node is on the stack, and the stamp below which its entries were removed.
    struct NodeState {
        std::uint32_t live = 0;
        std::uint64_t removedBefore = 0;
    };

    std::vector<Entry> entries_;
    std::unordered_map<const HostNode*, NodeState> states_;
    std::uint64_t nextStamp_ = 0;
    std::size_t live_ = 0;
};

} // namespace vx
