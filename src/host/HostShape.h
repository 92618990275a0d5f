#pragma once
// A shape's Bezier splines, as the host hands them out when asked for a node's shape.

#include "host/HostMath.h"

#include <vector>

namespace vx {

// One knot: the point and its incoming and outgoing handles (absolute positions, object space).
struct HostSplineKnot {
    HostPoint3 inVec;
    HostPoint3 point;
    HostPoint3 outVec;
};

struct HostSpline {
    bool closed = false;
    std::vector<HostSplineKnot> knots;
};

struct HostShape {
    std::vector<HostSpline> splines;
};

} // namespace vx
