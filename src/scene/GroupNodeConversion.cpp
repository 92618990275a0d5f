#include "scene/GroupNodeConversion.h"

#include "scene/DesignBounds.h"
#include "scene/FindOrCreateComposite.h"
#include "scene/LodType.h"
#include "scene/NodeFrames.h"
#include "scene/NodeInstance.h"
#include "scene/NodeProperty.h"
#include "scene/SceneTexts.h"
#include "scene/StrongNode.h"

#include "design/CompositeObject.h"
#include "design/Group.h"
#include "host/Host.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

#include <string>

namespace vx {

void AddToSystemGroup(ZR::ObjectInstance& instance)
{
    SceneContext* context = CurrentSceneContext();
    ZR::CompositeObject* root = context ? context->design.Root() : nullptr;
    if (!root)
        return;
    const ExportRunState* exporter = CurrentExporter();
    std::string name = exporter && exporter->host ? exporter->host->GetCurFileName() : std::string();
    if (name.empty())
        name = kTextNoName;
    ZR::AddGroup(instance, name.c_str(), kSystemGroupType, *root);
}

void ConvertGroupNode(StrongNode& node, ZR::CompositeObject* target, bool single,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform)
{
    if (!target || !node.GetHostNode())
        return;
    if (single || !node.HasCompId()) {
        node.ConvertChildren(target, single, parentTransform);
        return;
    }
    const CompositeLookup lookup = FindOrCreateComposite(*node.GetHostNode(), node.GetCompId(), true);
    ZR::CompositeObject* composite = lookup.composite;
    if (!composite)
        return;
    if (lookup.created) {
        composite->name.Assign(node.GetName().c_str());
        composite->fromGeometryNode = false;
        // The children merge relative to the group's unmirrored transform: its scale is the
        // object's geometry placement, its rotation and position the instance's. An object made
        // as a copy of another group's already holds their geometry.
        if (lookup.fill && !node.ConvertChildren(composite, true, UnmirroredFrameOf(nodeTransform)))
            return;
        ComputeCompositeBounds(*composite);
        const NodeProperty properties(node.GetHostNode());
        const ExportRunState* exporter = CurrentExporter();
        composite->data.Lod = GetLodType(exporter ? exporter->lodType : 2, &properties, composite->data.Aabb);
    }
    ZR::ObjectInstance* instance = AddInstance(*target, *composite, nodeTransform, parentTransform, node);
    if (!instance)
        return;
    // A group instance keeps no local transform: parts, which read it, exist in single-object mode only.
    instance->local = IdentityTransform();
    AddToSystemGroup(*instance);
}

} // namespace vx
