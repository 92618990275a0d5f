#include "scene/passes/CompIdOptimizer.h"

#include "scene/passes/CompIdRegistry.h"
#include "scene/passes/SceneWalk.h"

#include "base/FixedString.h"
#include "host/HostNode.h"

namespace vx {

namespace {

constexpr const char* kCompId = "COMPID";

void ClearCompIdsBelow(HostNode& top)
{
    VisitBelow(top, [](HostNode& node, bool) { node.SetUserPropString(kCompId, ""); });
}

} // namespace

CompIdOptimizer::CompIdOptimizer()
    : registry_(&CompIdRegistry::Instance())
{
}

bool CompIdOptimizer::Run()
{
    Log("CompIdOptimizer Start...\r\n", true);
    Log("CompIdOptimizer OptimizeCompsiteID()\r\n", true);
    OptimizeCompsiteID();
    Log("CompIdOptimizer Finished!\r\n", true);
    return true;
}

int CompIdOptimizer::OptimizeCompsiteID()
{
    int reserved = 0;
    for (const DUniqueID& id : registry_->ids) {
        const std::vector<HostNode*>* nodes = registry_->NodesOf(id);
        if (!nodes || nodes->empty())
            continue;
        if (nodes->size() == 1) {
            if (HostNode* alone = nodes->front())
                alone->SetUserPropString(kCompId, "");
            continue;
        }
        ++reserved;
        for (auto node = nodes->rbegin(); node != nodes->rend(); ++node) {
            if (*node)
                ClearCompIdsBelow(**node);
        }
    }
    Log(FixedString::Formatted("%d composite id(s) are reserved after optimizing\r\n", reserved).c_str(),
        true);
    return reserved;
}

} // namespace vx
