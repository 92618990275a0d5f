#include "materials/PerRunTable.h"

#include "run/SceneContext.h"

#include <memory>
#include <utility>

namespace vx {

// The piece a SceneContext owns: it forwards the run's emptying to the table.
class PerRunTableLink final : public RunTable {
public:
    explicit PerRunTableLink(PerRunTable& table)
        : table_(table)
    {
    }
    ~PerRunTableLink() override
    {
        table_.clear_();
        table_.registered_ = false;
    }
    void Clear() override { table_.clear_(); }

private:
    PerRunTable& table_;
};

PerRunTable::PerRunTable(std::function<void()> clear)
    : clear_(std::move(clear))
{
}

void PerRunTable::Touch()
{
    SceneContext* context = CurrentSceneContext();
    if (!context || registered_)
        return;
    context->AddRunTable(std::make_unique<PerRunTableLink>(*this));
    registered_ = true;
}

} // namespace vx
