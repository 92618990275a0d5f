#include "scene/NodeComposite.h"

#include "scene/DesignBounds.h"
#include "scene/FindOrCreateComposite.h"
#include "scene/LodType.h"
#include "scene/NodeFrames.h"
#include "scene/NodeInstance.h"
#include "scene/NodeProperty.h"
#include "scene/SceneTexts.h"
#include "scene/StrongNode.h"

#include "base/Numeric.h"
#include "design/CompositeObject.h"
#include "geometry/NodeGeometry.h"
#include "host/HostNode.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

namespace vx {

namespace {

// The quarter turn 1.5707964 as an azimuth (local x along -z) and as an elevation (local y along +z).
constexpr Rotation kAzimuthQuarterTurn {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}};
constexpr Rotation kElevationQuarterTurn {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};

// 1 / (extent x f), or 1 when that extent is near zero.
float InverseExtent(float extent, float scaleFactor)
{
    const float size = extent * scaleFactor;
    return _feqz(size) ? 1.0f : 1.0f / size;
}

int32_t LodTypeOfRun(const NodeProperty& properties, const ZR::Aabb& box)
{
    const ExportRunState* exporter = CurrentExporter();
    return GetLodType(exporter ? exporter->lodType : 2, &properties, box);
}

} // namespace

Rotation ExtrusionTurnOf(const NodeProperty& properties, const Vector3& hostExtent)
{
    if (properties.ContainsKey(kKeyScalable) || !properties.ContainsKey(kKeyExtrudable))
        return IdentityRotation();
    switch (LongestDesignAxis(hostExtent)) {
    case 0:
        return kAzimuthQuarterTurn;
    case 1:
        return kElevationQuarterTurn;
    default:
        return IdentityRotation();
    }
}

Transform MakeNormalisationTransform(
    const NodeProperty& properties, const Vector3& hostExtent, float scaleFactor)
{
    const Vector3 e {hostExtent.x, hostExtent.z, hostExtent.y};
    if (properties.ContainsKey(kKeyScalable)) {
        const Vector3 scale {InverseExtent(e.x, scaleFactor), InverseExtent(e.y, scaleFactor),
            InverseExtent(e.z, scaleFactor)};
        return ScaleBefore(IdentityTransform(), scale);
    }
    if (!properties.ContainsKey(kKeyExtrudable))
        return IdentityTransform();
    const Transform turn {ExtrusionTurnOf(properties, hostExtent), {}};
    switch (LongestDesignAxis(hostExtent)) {
    case 0:
        return ScaleBefore(turn, {InverseExtent(e.x, scaleFactor), 1, 1});
    case 1:
        return ScaleBefore(turn, {1, InverseExtent(e.y, scaleFactor), 1});
    default:
        return ScaleBefore(turn, {1, 1, InverseExtent(e.z, scaleFactor)});
    }
}

ZR::CompositeObject* GetNodeComposite(StrongNode& node, bool ownObject)
{
    HostNode* hostNode = node.GetHostNode();
    const SceneContext* context = CurrentSceneContext();
    if (!hostNode || !context)
        return nullptr;
    const HostMatrix3 nodeTransform = hostNode->GetNodeTM(0);
    // A mirrored node's object holds mirrored vertices, which no unmirrored copy may share.
    const bool mirrored = ownObject && IsMirrored(nodeTransform);
    DUniqueID id;
    bool childrenMerge = true;
    if (ownObject && node.HasCompId() && !mirrored) {
        id = node.GetCompId();
    } else {
        id = DUniqueID::NewSequential();
        childrenMerge = !ownObject;
    }

    const CompositeLookup lookup = FindOrCreateComposite(*hostNode, id, ownObject);
    ZR::CompositeObject* composite = lookup.composite;
    if (!composite || !lookup.created)
        return composite;

    if (composite->name.IsEmpty())
        composite->name.Assign(node.GetName().c_str());
    composite->fromGeometryNode = true;
    const NodeProperty properties(hostNode);
    if (lookup.fill && ownObject) {
        Array<GeometryPair> meshes;
        ConvertNodeGeometry(*hostNode, meshes);
        composite->fromGeometryNode = !meshes.IsEmpty();
        const Vector3 extent = HostExtentOf(hostNode->GetObjectBoundingBox());
        Transform normalisation = MakeNormalisationTransform(properties, extent, context->scaleFactor);
        composite->extrusionTurn = ExtrusionTurnOf(properties, extent);
        // The vertices are in the node's own frame; the object's geometry placement carries the
        // node's scale and its instances the rotation, so only a mirror is left to the vertices.
        if (mirrored)
            normalisation = ScaleBefore(normalisation, {-1.0f, -1.0f, -1.0f});
        // Room for exactly these pieces: a pair is large, and the default growth step of sixteen
        // would leave most of the storage of a one-mesh object unused.
        composite->data.Model.pairs.Reserve(composite->data.Model.pairs.Count() + meshes.Count());
        for (GeometryPair& mesh : meshes)
            AttachVertexData(
                composite->data.Model, std::move(mesh.vertexData), mesh.renderState.Get(), normalisation);
        // Merged children sit in the object's frame with its geometry placement's scale applied to
        // them too; children of their own are placed by instances, which see the rigid frame only.
        const HostMatrix3 childrenFrame
            = childrenMerge ? UnmirroredFrameOf(nodeTransform) : RigidFrameOf(nodeTransform);
        if (!node.ConvertChildren(composite, childrenMerge, childrenFrame))
            return nullptr;
    }
    ComputeCompositeBounds(*composite);
    composite->data.Lod = LodTypeOfRun(properties, composite->data.Aabb);
    return composite;
}

} // namespace vx
