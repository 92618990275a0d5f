#pragma once
// CompIdGenerator: the first composite-identifier pass. Gives every node below the root a
// "GEOMID" shared by the nodes of equal geometry key, and a "COMPID" to each leaf and to each head
// of a subtree, heads of equal subtrees sharing one. The identifiers are recorded in the
// CompIdRegistry for CompIdOptimizer.

#include "scene/passes/IModule.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vx {

class CompIdRegistry;
class HostNode;

class CompIdGenerator final : public IModule {
public:
    // The pass over the scene below root (the host's root node; null: the pass finds nothing).
    explicit CompIdGenerator(HostNode* root);

    // FindInstanceObjectsInScene (root) and MakeCompositeID, with their messages. Returns true.
    bool Run() override;

    // Clears the scratch marks below node (so a second run in one process finds the scene as the
    // first did), then keys every node below node and pushes the leaves, with their "COMPID", on
    // the leaf stack.
    void FindInstanceObjectsInScene(HostNode& node);
    // Works up from the leaves: each head whose children are all handled gets an identifier shared
    // with its equivalent candidates, and becomes a leaf of the next level. Logs the count line.
    void MakeCompositeID();
    // Gives p and every candidate equivalent to it one new "COMPID".
    void AssignGroupId(HostNode& p, const std::vector<HostNode*>& candidates);

private:
    // Per node: whether it counts as handled for its parent's completeness, and how many of its
    // children do not.
    struct Mark {
        bool handled = false;
        std::int32_t openChildren = 0;
    };

    void ClearMarks(HostNode& top);
    void KeyNode(HostNode& node, bool leaf);
    void PushLeaf(HostNode& node);
    HostNode* PopLeaf();
    void RemoveChildrenFromLeafStack(const HostNode& node);
    void Refresh(const HostNode& node);
    bool IsComplete(const HostNode& node) const;
    std::uint64_t ChildShape(const HostNode& node);

    HostNode* root_;
    CompIdRegistry* registry_ = nullptr;
    std::unordered_map<const HostNode*, Mark> marks_;
    // Per node, a hash of its children's sorted transform keys (fixed while the pass runs): nodes
    // whose hashes differ cannot be equivalent, so most candidates are passed over without texts.
    std::unordered_map<const HostNode*, std::uint64_t> childShapes_;
};

// Whether b can share a's composite object: equal "GEOMID" texts, as many children, and the
// children's entries ("COMPID" + "-" + TransformKey) equal as multisets, none of b's without
// "COMPID".
bool Equivalent(const HostNode& a, const HostNode& b);

// The entries of node's children, sorted: "COMPID" text ("" when absent) + "-" + TransformKey.
std::vector<std::string> ChildEntries(const HostNode& node);

} // namespace vx
