#include "scene/passes/CMGemoOptimizer.h"

#include "geometry/MeshesEqual.h"
#include "host/Host.h"

#include <utility>

namespace vx {

CMGemoOptimizer::CMGemoOptimizer(Host* host)
    : host_(host)
{
}

bool CMGemoOptimizer::Run()
{
    Log("CMGemoOptimizer Start...\r\n", true);
    if (!host_ || host_->IsSceneLocked())
        return false;
    if (HostNode* root = host_->GetRootNode())
        Walk(*root);
    Log("CMGemoOptimizer End\r\n", true);
    meshTable_.Clear();
    return true;
}

void CMGemoOptimizer::Walk(HostNode& top)
{
    if (top.IsHidden())
        return;
    // Without recursion, so that deep hierarchies cannot exhaust the stack.
    std::vector<std::pair<HostNode*, int>> path {{&top, 0}};
    while (!path.empty()) {
        auto& [node, next] = path.back();
        if (next < node->NumberOfChildren()) {
            HostNode* child = node->GetChildNode(next++);
            if (child && !child->IsHidden())
                path.emplace_back(child, 0);
            continue;
        }
        HostNode* finished = node;
        path.pop_back();
        OptimizeNode(*finished);
    }
}

void CMGemoOptimizer::OptimizeNode(HostNode& node)
{
    if (!(node.GetVisibility(0) > 0.0f) || !node.GetObjectRef())
        return;
    HostObject* evaluated = node.EvalWorldState(0);
    if (!evaluated || evaluated->GetSuperClassId() != kSuperClassGeometry || !evaluated->CanConvertToMesh())
        return;
    HostObject* copy = evaluated->Clone();
    const HostMesh* mesh = copy ? copy->ConvertToMesh(0) : nullptr;
    if (!mesh)
        return;
    node.SetObjectRef(copy);

    HostMaterial* material = node.GetMaterial();
    ObjDataList& list = *meshTable_.Insert(static_cast<uint32_t>(mesh->GetNumVerts())).value;
    for (const ObjData& candidate : list) {
        if (candidate.object == copy && candidate.material == material)
            return;
        if (candidate.material == material && MeshesEqual(*candidate.object, *copy)) {
            node.SetObjectRef(candidate.object);
            return;
        }
    }
    list.push_back(ObjData {copy, material});
}

} // namespace vx
