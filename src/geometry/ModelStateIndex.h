#pragma once
// ModelStateIndex: the distinct render states of each model's pairs, in the order they first
// appear, kept for the run so that finding a pair whose state is identical to a new one does not
// walk every pair of a large model.

namespace ZR {
struct Model;
}

namespace vx {

class VMRenderState;

// The render state of the first pair of model whose state is identical to state, or null. Pairs
// added to model since the last call (by anyone) are taken into account.
VMRenderState* FindIdenticalModelState(const ZR::Model& model, const VMRenderState& state);

} // namespace vx
