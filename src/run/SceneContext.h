#pragma once
// SceneContext: what one export run converts into and looks up while converting. It owns the
// design (every composite object of the run) and the per-run tables of the conversion; destroying
// it destroys all of them.

#include "base/Transform.h"
#include "design/Design.h"
#include "design/ObjectInstance.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vx {

class BaseNode;
class HostNode;

// A lookup table that a conversion step keeps for one run. ConvertScene empties every registered
// table at the end of the conversion phase; the context destroys them with itself.
class RunTable {
public:
    virtual ~RunTable() = default;
    virtual void Clear() = 0;
};

class SceneContext {
public:
    SceneContext() = default;
    SceneContext(const SceneContext&) = delete;
    SceneContext& operator=(const SceneContext&) = delete;

    // Sets scaleFactor and unitScale from the host's unit type code (see LookUpUnitScale). Returns
    // true for the codes 0 to 4 and 6, false otherwise (the factor is then 1).
    bool SetUnitScale(int hostUnitType);

    // Hands table to the context, which keeps it for the run. Returns it for the caller's use.
    RunTable& AddRunTable(std::unique_ptr<RunTable> table);
    // Empties every run table, in the order they were added.
    void EmptyRunTables();

    // Metres per host scene unit; 0.001 until the run sets it from the host's unit.
    float scaleFactor = 0.001f;
    // The scale transform of the same factor.
    Transform unitScale = UniformScaleTransform(0.001f);
    // Export nodes alive.
    int32_t liveNodeCount = 0;
    // Host node -> the export node that converts it; keyed by the node's address.
    std::map<const HostNode*, BaseNode*> referencedNodes;
    // Part name ("VNXPart") -> the instance that places the composite object made for that part.
    std::map<std::string, ZR::ObjectInstance*> partTable;
    // The converted design; its root is the design root of the run.
    ZR::Design design;
    // The objects whose box was rejected and so reported in the log: a box is computed several
    // times in a run (when the object is made, for the boxes around it, before it is written), and
    // the log names each rejected object once.
    std::unordered_set<const ZR::CompositeObject*> rejectedBoxes;

private:
    std::vector<std::unique_ptr<RunTable>> runTables_;
};

// The process-wide current scene context: the run's context while a run is in progress, null
// otherwise. Every run resets it at its start.
SceneContext*& CurrentSceneContext();

} // namespace vx
