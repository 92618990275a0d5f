#pragma once
// The path of a path constraint as a VMPathController.

#include "animation/AnimationContext.h"
#include "animation/TrackSharing.h"

#include "base/PointerMap.h"
#include "toolkit/VMPathController.h"

namespace vx {

class HostController;
class VMTrack;

// The VMPathController of the path constraint controller: its "Path" track from the first path
// node's spline 0 (one Bezier key per knot at 0, 1000, 2000... ms, the first knot again at the end
// of a closed spline; points and tangents in the design frame, carried by the path node's object
// transform at evaluationTime), taken from pathTracks when that node's path was made before and
// recorded there otherwise; its "Waypoints" track from the percentage controller; the follow flag,
// the flip flag and the follow axis (1 and 2 exchanged). Tracks go through sharing. Null when the
// controller has no path constraint interface or path node, the node's object is not a shape, or
// the shape has no spline 0 or its spline has no knots.
VMRef<VMPathController> MakePathController(const HostController& controller, const AnimationContext& context,
    TrackSharing& sharing, PointerMap<VMTrack*>& pathTracks);

} // namespace vx
