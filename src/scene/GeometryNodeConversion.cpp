#include "scene/GeometryNodeConversion.h"

#include "scene/NodeFrames.h"
#include "scene/NodeComposite.h"
#include "scene/NodeInstance.h"
#include "scene/NodeProperty.h"
#include "scene/SceneTexts.h"
#include "scene/StrongNode.h"

#include "design/CompositeObject.h"
#include "geometry/NodeGeometry.h"
#include "host/HostNode.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

#include <string>

namespace vx {

namespace {

// Where a merged node's geometry goes.
struct MergeGoal {
    ZR::CompositeObject* composite = nullptr;
    bool hasPart = false;
    HostMatrix3 partTransform;
};

// The goal of node: target, or the composite object of the node's part. Null composite when the
// part's object could not be made or placed.
MergeGoal FindMergeGoal(StrongNode& node, ZR::CompositeObject& target, SceneContext& context,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform)
{
    MergeGoal goal {&target, false, HostMatrix3::Identity()};
    const NodeProperty properties(node.GetHostNode());
    std::string partName;
    if (!properties.HasKey(kKeyPart, partName))
        return goal;
    goal.hasPart = true;
    if (partName.empty())
        partName = node.GetName();
    const auto known = context.partTable.find(partName);
    if (known != context.partTable.end()) {
        goal.composite = known->second->object;
        goal.partTransform = ToHostMatrix(known->second->local);
        return goal;
    }
    goal.composite = GetNodeComposite(node, HostMatrix3::Identity(), false);
    if (!goal.composite)
        return goal;
    ZR::ObjectInstance* instance = AddInstance(target, *goal.composite, nodeTransform, parentTransform, node);
    if (!instance) {
        goal.composite = nullptr;
        return goal;
    }
    goal.composite->name.Assign(partName.c_str());
    instance->name.Assign(partName.c_str());
    context.partTable[partName] = instance;
    return goal;
}

void SetPairPlacement(ZR::ModelPair& pair, const Transform& placement, const HostBox3& box)
{
    pair.transform.Set(placement);
    if (box.IsEmpty()) {
        pair.sourceBox = ZR::SourceBox {};
        return;
    }
    pair.sourceBox.min = {box.min.x, box.min.y, box.min.z};
    pair.sourceBox.max = {box.max.x, box.max.y, box.max.z};
}

void MergeNodeGeometry(StrongNode& node, const MergeGoal& goal, float scaleFactor,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform)
{
    HostNode& hostNode = *node.GetHostNode();
    Array<GeometryPair> meshes;
    ConvertNodeGeometry(hostNode, meshes);

    const HostMatrix3 local = nodeTransform * Inverse(parentTransform);
    Transform vertexPlacement;
    Transform geometryPlacement;
    HostBox3 geometryBox;
    const ExportRunState* exporter = CurrentExporter();
    if (exporter && exporter->singleObjectActive) {
        vertexPlacement = DesignPlacementOf(parentTransform, scaleFactor);
        if (!goal.hasPart)
            geometryPlacement = HostPlacementOf(local, scaleFactor);
        else if (!(goal.partTransform == HostMatrix3::Identity()))
            geometryPlacement = HostPlacementOf(nodeTransform * Inverse(goal.partTransform), scaleFactor);
        geometryBox = hostNode.GetObjectBoundingBox();
    } else {
        vertexPlacement = DesignPlacementOf(local, scaleFactor);
    }
    vertexPlacement = ScaleBefore(vertexPlacement, VertexScaleOf(DesignScaleFactors(local)));

    ZR::Model& model = goal.composite->data.Model;
    for (GeometryPair& mesh : meshes) {
        const uint32_t before = model.pairs.Count();
        AttachVertexData(model, std::move(mesh.vertexData), mesh.renderState.Get(), vertexPlacement);
        if (model.pairs.Count() > before)
            SetPairPlacement(model.pairs[model.pairs.Count() - 1], geometryPlacement, geometryBox);
    }
}

} // namespace

void ConvertGeometryNode(StrongNode& node, ZR::CompositeObject* target, bool single,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform)
{
    SceneContext* context = CurrentSceneContext();
    if (!context || !target || !node.GetHostNode())
        return;
    if (ZR::CompositeObject* root = context->design.Root())
        root->data.Aabb.valid = false;

    if (!single) {
        if (ZR::CompositeObject* composite = GetNodeComposite(node, nodeTransform, true))
            AddInstance(*target, *composite, nodeTransform, parentTransform, node);
        return;
    }
    const MergeGoal goal = FindMergeGoal(node, *target, *context, nodeTransform, parentTransform);
    if (!goal.composite)
        return;
    MergeNodeGeometry(node, goal, context->scaleFactor, nodeTransform, parentTransform);
    node.ConvertChildren(goal.composite, true, parentTransform);
}

} // namespace vx
