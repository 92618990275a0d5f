#include "scene/GeometryNodeConversion.h"

#include "scene/DesignBounds.h"
#include "scene/NodeComposite.h"
#include "scene/NodeFrames.h"
#include "scene/NodeInstance.h"
#include "scene/NodeProperty.h"
#include "scene/SceneTexts.h"
#include "scene/StrongNode.h"

#include "design/CompositeObject.h"
#include "geometry/NodeGeometry.h"
#include "host/HostNode.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

#include <cmath>
#include <string>

namespace vx {

namespace {

// Where a merged node's geometry goes: the composite object and its frame in world space (host
// axes and units).
struct MergeGoal {
    ZR::CompositeObject* composite = nullptr;
    HostMatrix3 frame;
};

// The goal of node: target in the frame parentTransform, or the composite object of the node's
// part in the frame of the instance that places it. Null composite when the part's object could
// not be made or placed.
MergeGoal FindMergeGoal(StrongNode& node, ZR::CompositeObject& target, SceneContext& context,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform)
{
    MergeGoal goal {&target, parentTransform};
    const NodeProperty properties(node.GetHostNode());
    std::string partName;
    if (!properties.HasKey(kKeyPart, partName))
        return goal;
    if (partName.empty())
        partName = node.GetName();
    const auto known = context.partTable.find(partName);
    if (known != context.partTable.end()) {
        goal.composite = known->second->object;
        goal.frame = ToHostMatrix(known->second->local) * parentTransform;
        return goal;
    }
    goal.composite = GetNodeComposite(node, false);
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
    goal.frame = ToHostMatrix(instance->local) * parentTransform;
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

// The node's object box (node space, host units) in the frame of its piece, where its vertices
// are: changed by what the vertices take beyond the piece's rigid placement (scale and mirror).
// Empty when the node has no box.
HostBox3 PieceBoxOf(const HostNode& hostNode, const HostMatrix3& relative)
{
    const HostBox3 box = hostNode.GetObjectBoundingBox();
    if (box.IsEmpty())
        return box;
    const HostMatrix3 toPiece = relative * Inverse(RigidFrameOf(relative));
    HostBox3 placed;
    for (int corner = 0; corner < 8; ++corner) {
        const HostPoint3 p {corner & 1 ? box.max.x : box.min.x, corner & 2 ? box.max.y : box.min.y,
            corner & 4 ? box.max.z : box.min.z};
        placed.Include(p * toPiece);
    }
    return placed;
}

// Whether every vertex of the pairs from first on lands on a finite point of the object, placed by
// its pair's placement and the object's geometry placement.
bool ArePiecesFinite(const ZR::CompositeObject& object, uint32_t first)
{
    const Transform geometryPlacement {object.data.placement.matrix, object.data.placement.position};
    const ZR::Model& model = object.data.Model;
    for (uint32_t i = first; i < model.pairs.Count(); ++i) {
        const ZR::ModelPair& pair = model.pairs[i];
        if (!pair.vd)
            continue;
        const Transform placement = pair.transform.ToTransform();
        for (int32_t v = 0; v < pair.vd->vertexCount; ++v) {
            const Vector3 stored = pair.vd->GetPosition(v);
            const Vector3 p = ApplyTransform(
                geometryPlacement, ApplyTransform(placement, {stored.x, stored.z, stored.y}));
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                return false;
        }
    }
    return true;
}

// A merged node whose pieces cannot be placed is left out alone: its name goes to the log and to the
// failed objects, and the object it was merged into keeps the rest.
void RejectMergedNode(const HostNode& hostNode)
{
    ExportRunState* exporter = CurrentExporter();
    if (!exporter)
        return;
    const std::string name = hostNode.GetName();
    exporter->WriteLogLine(
        ("Bounding box of object \"" + name + "\": a vertex position is not finite").c_str());
    exporter->AddFailedObject(name.c_str());
}

// Adds node's meshes to the goal's own geometry, in the goal's frame. The vertices are in the
// node's own frame; relative = where that frame stands in the goal's. A single-object export keeps
// each piece's rigid placement on the piece and bakes only scale and mirror into the vertices;
// otherwise everything is baked into the vertices.
void MergeNodeGeometry(
    StrongNode& node, const MergeGoal& goal, float scaleFactor, const HostMatrix3& nodeTransform)
{
    HostNode& hostNode = *node.GetHostNode();
    Array<GeometryPair> meshes;
    ConvertNodeGeometry(hostNode, meshes);

    const HostMatrix3 relative = nodeTransform * Inverse(goal.frame);
    Transform vertexPlacement;
    Transform geometryPlacement;
    HostBox3 geometryBox;
    const ExportRunState* exporter = CurrentExporter();
    if (exporter && exporter->singleObjectActive) {
        vertexPlacement = DesignResidualOf(relative);
        geometryPlacement = DesignRigidPlacementOf(relative, scaleFactor);
        geometryBox = PieceBoxOf(hostNode, relative);
    } else {
        vertexPlacement = DesignTransformOf(relative, scaleFactor);
    }

    ZR::Model& model = goal.composite->data.Model;
    const uint32_t first = model.pairs.Count();
    for (GeometryPair& mesh : meshes) {
        const uint32_t before = model.pairs.Count();
        AttachVertexData(model, std::move(mesh.vertexData), mesh.renderState.Get(), vertexPlacement);
        if (model.pairs.Count() > before)
            SetPairPlacement(model.pairs[model.pairs.Count() - 1], geometryPlacement, geometryBox);
    }
    if (!ArePiecesFinite(*goal.composite, first)) {
        model.pairs.SetCount(first);
        RejectMergedNode(hostNode);
    }
}

} // namespace

void ConvertGeometryNode(StrongNode& node, ZR::CompositeObject* target, bool single,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform, const StrongNode* copy)
{
    SceneContext* context = CurrentSceneContext();
    if (!context || !target || !node.GetHostNode())
        return;
    if (ZR::CompositeObject* root = context->design.Root())
        root->data.Aabb.valid = false;

    if (!single) {
        if (ZR::CompositeObject* composite = GetNodeComposite(node, true))
            AddInstance(*target, *composite, nodeTransform, parentTransform, node, copy);
        return;
    }
    const MergeGoal goal = FindMergeGoal(node, *target, *context, nodeTransform, parentTransform);
    if (!goal.composite)
        return;
    MergeNodeGeometry(node, goal, context->scaleFactor, nodeTransform);
    node.ConvertChildren(goal.composite, true, goal.frame);
    // A part's object grows after its instance was placed: its box must hold what it now holds
    // before the boxes around it are computed.
    if (goal.composite != target) {
        goal.composite->data.Aabb.valid = false;
        ComputeCompositeBounds(*goal.composite);
    }
}

} // namespace vx
