#pragma once
// The scene passes that run on the host scene before anything else of an export run, and the
// manager that runs them in order.

#include "scene/passes/IModule.h"

#include <array>
#include <cstdint>
#include <memory>

namespace vx {

class Host;
class HostNode;

class ModuleManager {
public:
    static constexpr int MAX_PASSES = 8;
    // The index of the geometry optimiser pass, enabled only with optimizeGeometry.
    static constexpr int GEOMETRY_OPTIMIZER_INDEX = 0;
    // The composite-identifier passes, after the geometry optimiser's slot.
    static constexpr int COMP_ID_GENERATOR_INDEX = 1;
    static constexpr int COMP_ID_OPTIMIZER_INDEX = 2;

    ModuleManager() = default;
    ModuleManager(const ModuleManager&) = delete;
    ModuleManager& operator=(const ModuleManager&) = delete;

    // Appends pass at the index after the highest one held (0 for an empty manager). Returns false
    // (and destroys the pass) when that index would reach MAX_PASSES or pass is null.
    bool AddPass(std::unique_ptr<IModule> pass);
    // Places pass at index, which must be free, so a pass keeps its index (and its enable bit)
    // whether the passes before it are held or not. Returns false (and destroys the pass) for a
    // null pass, an index outside 0 .. MAX_PASSES - 1 or an index already held.
    bool SetPass(int index, std::unique_ptr<IModule> pass);
    // The number of passes held, and whether index holds one.
    int PassCount() const;
    bool HasPass(int index) const;

    // The enable bits of a run: one bit per index that holds a pass, the geometry optimiser's bit
    // cleared unless optimizeGeometry.
    uint32_t RunEnableBits(bool optimizeGeometry) const;

    // Empties the composite-identifier registry and the message text, then runs each pass whose
    // bit is set, in index order, attached to the manager's message sink. Bits of indices that
    // hold no pass are ignored.
    void Run(uint32_t enableBits);

    const ModuleMessageSink& GetMessages() const { return messages_; }

private:
    void EmptyCompIdRegistry();

    std::array<std::unique_ptr<IModule>, MAX_PASSES> passes_;
    ModuleMessageSink messages_;
};

// Puts the passes of an export run into modules, each at its own index: the geometry optimiser
// over host's scene (run only when the run's bits enable it), then CompIdGenerator and
// CompIdOptimizer over the scene below root.
void AddRunPasses(ModuleManager& modules, Host* host, HostNode* root);

} // namespace vx
