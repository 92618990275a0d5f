#include "scenefile/PathCycle.h"

#include "host/HostController.h"
#include "host/HostNode.h"

#include <unordered_map>

namespace vx {

const HostNode* GetFollowedPathNode(const HostNode& node)
{
    const HostController* transform = node.GetTMController();
    const HostController* position = transform ? transform->GetPositionController() : nullptr;
    const HostPathConstraint* constraint = position ? position->GetPathConstraint() : nullptr;
    return constraint ? constraint->GetPathNode() : nullptr;
}

const HostNode* FindPathCycle(const std::vector<const HostNode*>& nodes)
{
    // A depth-first search over "the transform of a node depends on the transform of another": a
    // path-constrained node depends on its path node and on every node above that. A node still
    // open when it is reached again closes a cycle.
    enum class Mark { Open, Done };
    std::unordered_map<const HostNode*, Mark> marks;
    struct Frame {
        const HostNode* node;
        const HostNode* next; // the next node it depends on: its path node, then the nodes above
    };
    std::vector<Frame> stack;
    for (const HostNode* start : nodes) {
        if (!start || marks.contains(start))
            continue;
        marks.emplace(start, Mark::Open);
        stack.push_back({start, GetFollowedPathNode(*start)});
        while (!stack.empty()) {
            Frame& top = stack.back();
            const HostNode* target = top.next;
            if (!target) {
                marks[top.node] = Mark::Done;
                stack.pop_back();
                continue;
            }
            top.next = target->GetParentNode();
            const auto found = marks.find(target);
            if (found == marks.end()) {
                marks.emplace(target, Mark::Open);
                stack.push_back({target, GetFollowedPathNode(*target)});
            } else if (found->second == Mark::Open) {
                return target;
            }
        }
    }
    return nullptr;
}

} // namespace vx
