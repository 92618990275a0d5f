#include "scene/FindOrCreateComposite.h"

#include "scene/NodeFrames.h"
#include "scene/NodeProperty.h"
#include "scene/ObjectSignatures.h"
#include "scene/SceneTexts.h"

#include "base/Numeric.h"
#include "base/Placement.h"
#include "design/CompositeObject.h"
#include "host/HostNode.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

#include <cmath>
#include <string>

namespace vx {

namespace {

constexpr double kStretchMaxSize = 1000.0;
constexpr double kStretchMinSize = 0.001;

enum class Stretch { None, Scalable, Extrudable };

struct NodeStretch {
    Stretch kind = Stretch::None;
    // The template name: the rest of the key's line.
    std::string templateName;
};

bool IsNearlyUnit(const Vector3& scale)
{
    return std::fabs(scale.x - 1.0f) <= 1e-6f && std::fabs(scale.y - 1.0f) <= 1e-6f
        && std::fabs(scale.z - 1.0f) <= 1e-6f;
}

NodeStretch ReadStretch(HostNode& hostNode, const Vector3& scale)
{
    NodeStretch stretch;
    if (!IsNearlyUnit(scale))
        return stretch;
    const NodeProperty properties(&hostNode);
    if (properties.HasKey(kKeyScalable, stretch.templateName))
        stretch.kind = Stretch::Scalable;
    else if (properties.HasKey(kKeyExtrudable, stretch.templateName))
        stretch.kind = Stretch::Extrudable;
    return stretch;
}

void MakeStretchable(ZR::CompositeObject& composite, int32_t type)
{
    composite.data.stretchType = type;
    composite.data.maxSize = kStretchMaxSize;
    composite.data.minSize = kStretchMinSize;
}

// The placement matrix of a composite object (design frame): the scale of the node's own
// transform for its own object, the identity otherwise.
Rotation PlacementMatrixOf(HostNode& hostNode, bool ownObject)
{
    if (!ownObject)
        return IdentityRotation();
    const Vector3 k = DesignScaleFactors(hostNode.GetNodeTM(0));
    return {{k.x, 0, 0}, {0, k.y, 0}, {0, 0, k.z}};
}

void WriteLog(const std::string& line)
{
    if (ExportRunState* exporter = CurrentExporter())
        exporter->WriteLogLine(line.c_str());
}

CompositeLookup RegisterNew(SceneContext& context, HostNode& hostNode, const DUniqueID& id,
    const std::string& signature, const NodeStretch& stretch, bool ownObject)
{
    const auto made = context.design.FindOrCreateByName(id.ToString().c_str());
    ZR::CompositeObject* composite = made.record;
    ObjectSignatures().Register(id, signature, composite);
    composite->data.placement.position = {};
    if (stretch.kind == Stretch::Scalable)
        MakeStretchable(*composite, ZR::CompositeObjectData::STRETCH_SCALABLE);
    else if (stretch.kind == Stretch::Extrudable)
        MakeStretchable(*composite, ZR::CompositeObjectData::STRETCH_EXTRUDABLE);
    if (!stretch.templateName.empty()) {
        WriteLog("Template " + stretch.templateName + " is based on object " + hostNode.GetName());
        composite->name.Assign(stretch.templateName.c_str());
    } else {
        composite->name.Clear();
    }
    composite->data.placement.matrix = PlacementMatrixOf(hostNode, ownObject);
    return {composite, made.created, true};
}

// Another object or material (or a degenerate scale) under a registered identifier: a new object
// with a copy of the registered object's geometry.
CompositeLookup CopyUnderNewId(SceneContext& context, HostNode& hostNode, const ZR::CompositeObject& first,
    const std::string& signature, bool ownObject)
{
    const DUniqueID id = DUniqueID::NewSequential();
    const auto made = context.design.FindOrCreateByName(id.ToString().c_str());
    ZR::CompositeObject* composite = made.record;
    ObjectSignatures().Register(id, signature, composite);
    composite->data.Model.pairs = first.data.Model.pairs;
    // Named after its node by the caller, as a new registered object is, not by the identifier.
    composite->name.Clear();
    composite->data.placement.matrix = PlacementMatrixOf(hostNode, ownObject);
    return {composite, made.created, false};
}

} // namespace

CompositeLookup FindOrCreateComposite(HostNode& hostNode, const DUniqueID& givenId, bool ownObject)
{
    SceneContext* context = CurrentSceneContext();
    if (!context)
        return {};
    const Vector3 scale = HostScaleFactors(hostNode.GetObjTMAfterWSM(0));
    const NodeStretch stretch = ReadStretch(hostNode, scale);
    std::string objectPieces = ObjectSignaturePieces(hostNode);
    DUniqueID id = givenId;
    if (stretch.kind != Stretch::None && !stretch.templateName.empty()) {
        const std::string firstPiece
            = stretch.templateName + (stretch.kind == Stretch::Scalable ? "[SC];" : "[EX];");
        id = DUniqueID::FromName(firstPiece.c_str());
        objectPieces = firstPiece + objectPieces.substr(objectPieces.find(';') + 1);
    }
    const std::string signature = objectPieces + ScaleSignaturePiece(scale);

    const ObjectSignatureTable::Entry* registered = ObjectSignatures().Find(id);
    if (!registered)
        return RegisterNew(*context, hostNode, id, signature, stretch, ownObject);
    if (registered->signature == signature) {
        const ObjectSignatureTable::Entry* first = ObjectSignatures().FindBySignature(signature);
        return {first->composite, false, false};
    }

    ZR::CompositeObject& composite = *registered->composite;
    if (stretch.kind != Stretch::None) {
        WriteLog("Warning: object [" + std::string(hostNode.GetName())
            + "] has different material or reference object than its template [" + stretch.templateName
            + "]; converting this object with same material and geometry as template");
        return {&composite, false, false};
    }
    // Another scale, object or material under this identifier: an object of its own whose
    // placement takes this node's scale, sharing the geometry (the same vertex data, so one stored
    // geometry) with the registered object, or the object made so before for the same signature.
    // Stretching the registered object instead would leave its instances' sizes for the reader to
    // apply, and a reader placing geometry by its stored placements would lose the scale.
    if (const ObjectSignatureTable::Entry* same = ObjectSignatures().FindBySignature(signature))
        return {same->composite, false, false};
    return CopyUnderNewId(*context, hostNode, composite, signature, ownObject);
}

} // namespace vx
