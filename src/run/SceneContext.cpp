#include "run/SceneContext.h"

#include "base/UnitScale.h"

namespace vx {

bool SceneContext::SetUnitScale(int hostUnitType)
{
    const UnitScale scale = LookUpUnitScale(hostUnitType);
    scaleFactor = scale.scaleFactor;
    unitScale = scale.unitScale;
    return scale.scaled;
}

RunTable& SceneContext::AddRunTable(std::unique_ptr<RunTable> table)
{
    runTables_.push_back(std::move(table));
    return *runTables_.back();
}

void SceneContext::EmptyRunTables()
{
    for (const std::unique_ptr<RunTable>& table : runTables_)
        table->Clear();
}

SceneContext*& CurrentSceneContext()
{
    static SceneContext* current = nullptr;
    return current;
}

} // namespace vx
