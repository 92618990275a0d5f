#include "scene/MyInstanceNode.h"

#include "scene/ConversionGuard.h"
#include "scene/MyGeomNode.h"
#include "scene/SceneTexts.h"

#include "host/HostNode.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

#include <string>

namespace vx {

void MyInstanceNode::Convert(ZR::CompositeObject* target, bool, const HostMatrix3& parent)
{
    SceneContext* context = CurrentSceneContext();
    if (!context || !GetHostNode())
        return;
    const auto entry = context->referencedNodes.find(referenceNode_);
    if (entry == context->referencedNodes.end())
        return;
    auto* templateNode = dynamic_cast<MyGeomNode*>(entry->second);
    if (!templateNode)
        return;
    if (ConversionGuard::IsConverting(templateNode)) {
        if (ExportRunState* exporter = CurrentExporter())
            exporter->WriteLogLine((std::string(kLogReferencedNodeFailed) + templateNode->GetName()).c_str());
        return;
    }
    TickNodeProgress();
    // The instance's place in target's frame: its world transform relative to the frame's.
    const HostMatrix3 transform = GetHostNode()->GetNodeTM(0) * Inverse(parent);
    templateNode->ConvertWithTransform(target, false, transform, *this);
}

} // namespace vx
