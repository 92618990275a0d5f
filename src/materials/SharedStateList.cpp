#include "materials/SharedStateList.h"

#include "materials/PerRunTable.h"
#include "materials/StateBuckets.h"

namespace vx {

namespace {

StateBuckets& List()
{
    static StateBuckets list;
    return list;
}

PerRunTable& Hook()
{
    static PerRunTable hook([] { List().Clear(); });
    return hook;
}

} // namespace

VMRef<VMRenderState> FindOrAddSharedState(VMRenderState* state)
{
    if (!state)
        return {};
    Hook().Touch();
    if (VMRenderState* found = List().FindIdentical(*state))
        return VMRef<VMRenderState>(found);
    List().Add(state);
    return VMRef<VMRenderState>(state);
}

std::size_t SharedStateCount()
{
    return List().States().size();
}

void EmptySharedStateList()
{
    List().Clear();
}

} // namespace vx
