#include "materials/SharedStateList.h"

#include "materials/PerRunTable.h"
#include "materials/StateBuckets.h"

#include <unordered_set>

namespace vx {

namespace {

struct SharedStates {
    StateBuckets list;
    // The states of the list. Each was appended because no earlier state was identical to it, and
    // the list only grows, so looking one up again finds the state itself: no comparison needed.
    std::unordered_set<const VMRenderState*> members;

    void Clear()
    {
        list.Clear();
        members.clear();
    }
};

SharedStates& List()
{
    static SharedStates list;
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
    SharedStates& shared = List();
    if (shared.members.count(state) != 0)
        return VMRef<VMRenderState>(state);
    if (VMRenderState* found = shared.list.FindIdentical(*state))
        return VMRef<VMRenderState>(found);
    shared.list.Add(state);
    shared.members.insert(state);
    return VMRef<VMRenderState>(state);
}

std::size_t SharedStateCount()
{
    return List().list.States().size();
}

void EmptySharedStateList()
{
    List().Clear();
}

} // namespace vx
