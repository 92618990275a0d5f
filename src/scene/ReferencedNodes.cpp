#include "scene/ReferencedNodes.h"

#include "scene/MyGeomNode.h"
#include "scene/SceneTexts.h"

#include "base/UniqueId.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

#include <string>

namespace vx {

namespace {

void PrepareTemplate(StrongNode& node, BaseNode*& entry)
{
    auto* geometry = dynamic_cast<MyGeomNode*>(&node);
    if (!geometry) {
        if (ExportRunState* exporter = CurrentExporter())
            exporter->WriteLogLine((std::string(kLogReferencedNodeFailed) + node.GetName()).c_str());
        return;
    }
    entry = geometry;
    if (!geometry->HasCompId() && geometry->NumChildren() == 0)
        geometry->SetCompId(DUniqueID::NewSequential().ToString().c_str());
}

} // namespace

void ProcessReferencedNodes(BaseNode& node, ZR::CompositeObject* designRoot)
{
    auto* strong = dynamic_cast<StrongNode*>(&node);
    if (!strong)
        return;
    SceneContext* context = CurrentSceneContext();
    if (context) {
        const auto entry = context->referencedNodes.find(strong->GetHostNode());
        if (entry != context->referencedNodes.end())
            PrepareTemplate(*strong, entry->second);
    }
    for (uint32_t i = 0; i < strong->NumChildren(); ++i)
        ProcessReferencedNodes(*strong->GetChild(i), designRoot);
}

} // namespace vx
