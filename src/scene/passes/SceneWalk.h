#pragma once
// Walks over the host scene without recursion, so that deep hierarchies cannot exhaust the stack.

#include "host/HostNode.h"

#include <utility>
#include <vector>

namespace vx {

// Calls visit (node, isLeaf) for every node below top (top itself excluded), depth first: each
// child's subtree before the child, children in the host's order. A leaf has no children. Null
// children are skipped.
template <typename Visit> void VisitBelow(HostNode& top, Visit visit)
{
    std::vector<std::pair<HostNode*, int>> path {{&top, 0}};
    while (!path.empty()) {
        auto& [node, next] = path.back();
        if (next < node->NumberOfChildren()) {
            HostNode* child = node->GetChildNode(next++);
            if (!child)
                continue;
            if (child->NumberOfChildren() > 0)
                path.emplace_back(child, 0);
            else
                visit(*child, true);
            continue;
        }
        HostNode* finished = node;
        path.pop_back();
        if (!path.empty())
            visit(*finished, false);
    }
}

} // namespace vx
