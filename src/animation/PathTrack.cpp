#include "animation/PathTrack.h"

#include "animation/DesignValues.h"
#include "animation/KeyTracks.h"

#include "host/HostClassId.h"
#include "host/HostController.h"
#include "host/HostNode.h"
#include "host/HostObject.h"
#include "host/HostShape.h"

namespace vx {

namespace {

// The path node's spline 0 as a Bezier track; null when the node shows no shape with a spline 0 of
// at least one knot.
VMRef<VMTrack> MakePathTrack(const HostNode& pathNode, const AnimationContext& context)
{
    const HostTime t = context.settings.evaluationTime;
    const HostObject* object = pathNode.EvalWorldState(t);
    if (!object || object->GetSuperClassId() != kSuperClassShape)
        return nullptr;
    const HostShape* shape = object->GetShape();
    if (!shape || shape->splines.empty())
        return nullptr;
    const HostSpline& spline = shape->splines[0];
    const size_t knots = spline.knots.size();
    // A spline without knots has no path (and no knot to repeat for a closed one).
    if (knots == 0)
        return nullptr;
    const HostAffineParts parts = DecomposeAffine(pathNode.GetObjectTM(t));
    const HostMatrix3 placement = ComposeAffine(parts);
    const HostMatrix3 rotation = MakeRotationMatrix(parts.q);
    const float f = context.scaleFactor;
    const size_t count = knots + (spline.closed ? 1 : 0);
    auto track = MakeVMRef<VMVectorBezierTrack>();
    for (size_t i = 0; i < count; ++i) {
        const HostSplineKnot& knot = spline.knots[i % knots];
        const HostPoint3 in = TransformVector((knot.point - knot.inVec) * 3.0f, rotation);
        const HostPoint3 out = TransformVector((knot.outVec - knot.point) * 3.0f, rotation);
        track->AddKey({static_cast<int32_t>(i * 1000), ToDesignVector(knot.point * placement, f),
            ToDesignVector(in, f), ToDesignVector(out, f)});
    }
    return track;
}

} // namespace

VMRef<VMPathController> MakePathController(const HostController& controller, const AnimationContext& context,
    TrackSharing& sharing, PointerMap<VMTrack*>& pathTracks)
{
    HostPathConstraint* constraint = controller.GetPathConstraint();
    HostNode* pathNode = constraint ? constraint->GetPathNode() : nullptr;
    if (!pathNode)
        return nullptr;
    VMRef<VMTrack> path(pathTracks.Find(pathNode));
    if (!path) {
        path = sharing.Share(MakePathTrack(*pathNode, context));
        if (!path)
            return nullptr;
        pathTracks.Set(pathNode, path.Get());
    }
    auto result = MakeVMRef<VMPathController>();
    result->SetTrack("Path", path);
    if (const HostController* percent = constraint->GetPercentController())
        result->SetTrack("Waypoints", sharing.Share(MakeFloatTrack(*percent, context)));
    result->follow = constraint->GetFollow();
    result->followflip = constraint->GetFlip();
    const int axis = constraint->GetAxis();
    result->followaxis = axis == 1 ? 2 : (axis == 2 ? 1 : axis);
    return result;
}

} // namespace vx
