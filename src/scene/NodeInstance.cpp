#include "scene/NodeInstance.h"

#include "scene/NodeFrames.h"
#include "scene/NodeProperty.h"
#include "scene/StrongNode.h"

#include "animation/WriteAnimationData.h"
#include "base/Placement.h"
#include "design/CompositeObject.h"
#include "design/PropertyKey.h"
#include "design/PropertyTypes.h"
#include "host/HostNode.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

#include <string>

namespace vx {

namespace {

float ScaleFactorOfRun()
{
    const SceneContext* context = CurrentSceneContext();
    return context ? context->scaleFactor : 1.0f;
}

// The node's box extent in design axes and metres.
Vector3 DesignExtentOf(const HostNode& hostNode)
{
    const Vector3 e = HostExtentOf(hostNode.GetObjectBoundingBox());
    return Vector3 {e.x, e.z, e.y} * ScaleFactorOfRun();
}

float Component(const Vector3& v, int axis)
{
    return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

} // namespace

int LongestDesignAxis(const Vector3& e)
{
    if (e.x > e.y && e.x > e.z)
        return 0;
    if (e.z > e.y)
        return 1;
    return 2;
}

ZR::ObjectInstance* AddInstance(ZR::CompositeObject& target, ZR::CompositeObject& composite,
    const HostMatrix3& nodeTransform, const HostMatrix3& parentTransform, const StrongNode& node,
    const StrongNode* copy)
{
    HostNode* hostNode = node.GetHostNode();
    HostNode* shownAs = copy ? copy->GetHostNode() : hostNode;
    if (!hostNode || !shownAs)
        return nullptr;
    const HostMatrix3 local = nodeTransform * Inverse(parentTransform);
    ZR::ObjectInstance* instance = target.AddComponent(&composite, DUniqueID::NewSequential());
    if (!instance)
        return nullptr;
    composite.placedBy.Append(instance);
    // Angles carry no scale and no mirror: the instance takes the rigid part of local, and the
    // rest reaches the vertices or the object's geometry placement.
    const Transform placement = DesignRigidPlacementOf(local, ScaleFactorOfRun());
    // An extrudable object was laid along its z axis: turn it back first (the turn's inverse is
    // its transpose).
    instance->placement.matrix = Multiply(Transpose(composite.extrusionTurn), placement.rows);
    instance->placement.position = placement.position;
    instance->name.Assign(shownAs->GetName());
    instance->local = ToTransform(RigidFrameOf(local));
    SetInstanceStretch(composite.data.stretchType, DesignScaleFactors(local), *hostNode, *instance);
    CopyNodeProperties(*shownAs, *instance);
    const ExportRunState* exporter = CurrentExporter();
    if (exporter && exporter->exportAnimationData)
        WriteAnimationData(*instance, *shownAs);
    return instance;
}

void SetInstanceStretch(
    int32_t stretchType, const Vector3& scale, const HostNode& hostNode, ZR::ObjectInstance& instance)
{
    const bool scalable = stretchType == ZR::CompositeObjectData::STRETCH_SCALABLE;
    const bool extrudable = stretchType == ZR::CompositeObjectData::STRETCH_EXTRUDABLE;
    if (!scalable && !extrudable) {
        instance.lengthFlag = false;
        instance.sizeFlag = false;
        instance.width = instance.height = instance.length = 1.0;
        return;
    }
    const bool unitScale = IsUnitScale(scale);
    const Vector3 sizes = unitScale ? DesignExtentOf(hostNode) : scale;
    if (scalable) {
        instance.sizeFlag = true;
        instance.width = sizes.x;
        instance.height = sizes.y;
        instance.length = sizes.z;
        return;
    }
    instance.lengthFlag = true;
    instance.width = instance.height = 1.0;
    if (unitScale)
        instance.length = Component(sizes, LongestDesignAxis(HostExtentOf(hostNode.GetObjectBoundingBox())));
    else
        instance.length = scale.z;
}

void CopyNodeProperties(HostNode& hostNode, ZR::ObjectInstance& instance)
{
    const NodeProperty properties(&hostNode);
    std::string key;
    std::string value;
    for (int32_t i = 0; i < properties.NumLines(); ++i) {
        if (properties.GetKeyValue(i, key, value))
            instance.properties.SetText(ZR::MakePropertyKey(key.c_str(), ZR::PROPERTY_TYPE_TEXT), value);
    }
}

} // namespace vx
