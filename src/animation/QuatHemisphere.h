#pragma once
// The sign of stored rotation keys. q and -q are the same rotation, but a reader interpolates between
// the stored values as they are: from a key to a neighbour on the other hemisphere (a negative dot
// product) it turns the longer way round. Keys whose sign the track leaves open are therefore kept on
// the hemisphere of the key before them.

#include "base/Quaternion.h"

namespace vx {

// q, or -q when the dot product of q and previous is negative: of the two, the one a reader reaches
// from previous along the shorter arc.
Quaternion OnHemisphereOf(const Quaternion& q, const Quaternion& previous);

} // namespace vx
