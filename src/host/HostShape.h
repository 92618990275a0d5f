#pragma once
// A shape's Bezier splines, as the host hands them out when asked for a node's shape: views over
// storage the host keeps with the object.

#include "host/HostMath.h"
#include "host/HostTypes.h"

namespace vx {

// One knot: the point and its incoming and outgoing handles (absolute positions, object space).
struct HostSplineKnot {
    HostPoint3 inVec;
    HostPoint3 point;
    HostPoint3 outVec;
};

struct HostSpline {
    bool closed = false;
    HostArray<HostSplineKnot> knots;
};

struct HostShape {
    HostArray<HostSpline> splines;
};

} // namespace vx
