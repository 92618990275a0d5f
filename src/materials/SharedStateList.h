#pragma once
// SharedStateList: the run's list of distinct render states, so that equal materials of different
// objects share one state. Emptied at the end of each run's conversion.

#include "toolkit/VMRef.h"
#include "toolkit/VMRenderState.h"

#include <cstddef>

namespace vx {

// The first state of the list, in insertion order, identical to state (AreIdenticalStates);
// otherwise state is appended and returned. Null gives null. Only states that can be identical
// (equal StateIdentityKey) are compared.
VMRef<VMRenderState> FindOrAddSharedState(VMRenderState* state);

// The number of states in the list, and its emptying (done by the run itself).
std::size_t SharedStateCount();
void EmptySharedStateList();

} // namespace vx
