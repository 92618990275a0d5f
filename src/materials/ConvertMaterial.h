#pragma once
// Material conversion: a host material into a shared render state. One host material yields one
// render state per export run; a new state identical to an earlier one is replaced by it.

#include "host/HostClassId.h"
#include "host/HostTypes.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMRenderState.h"

#include <cstddef>

namespace vx {

class HostMaterial;

// The special shaders of standard materials, recognised by their class identifiers.
inline constexpr HostClassId kShaderA {0x61d55e21u, 0x796562d3u};
inline constexpr HostClassId kShaderB {0x670a77d0u, 0x23ab5c7fu};

// The render state of material at time t for sub-material index subMaterial (used by a
// multi/sub-object material; other containers take their fixed slot). Returns the state made
// earlier in this run for the same leaf material; null for a null material, an empty or missing
// sub-material slot, or containers nested deeper than 32 (a cycle of sub-materials). Non-finite
// host values count as absent. Identity and naming messages go to the message services.
VMRef<VMRenderState> ConvertMaterial(const HostMaterial* material, HostTime t, int subMaterial);

// Enters material -> state into the material table, after replacing state by the first earlier
// identical state (reporting the information "Identical materials have different names: %s, %s"
// when their names differ) or, when it stays a new state, warning "Different materials have the
// same name: " + name when an earlier different state has its name. Returns the entered state;
// null state is entered as null and gives null.
VMRef<VMRenderState> RegisterState(const HostMaterial* material, VMRenderState* state);

// The blend factor code of a shader's blend factor number (1 -> 0, 2 -> 768, ..., others -> 1).
int32_t BlendFactorCode(int number);

// The number of materials in the table (emptied by the run itself).
std::size_t MaterialTableCount();

} // namespace vx
