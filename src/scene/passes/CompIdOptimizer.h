#pragma once
// CompIdOptimizer: the second composite-identifier pass. Keeps only the identifiers that two or
// more nodes share: a node alone with its identifier loses its "COMPID", and the nodes inside a
// shared subtree lose theirs, since the shared object is exported once with its whole subtree.

#include "scene/passes/IModule.h"

namespace vx {

class CompIdRegistry;

class CompIdOptimizer final : public IModule {
public:
    // Takes the process-wide CompIdRegistry.
    CompIdOptimizer();

    // OptimizeCompsiteID with its messages. Returns true.
    bool Run() override;

    // Goes through the registry's identifiers in order (see above) and logs how many are kept.
    // Returns that number.
    int OptimizeCompsiteID();

private:
    CompIdRegistry* registry_;
};

} // namespace vx
