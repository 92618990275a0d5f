#include "run/RunPhaseHook.h"

namespace vx {

RunPhaseHook& CurrentRunPhaseHook()
{
    static RunPhaseHook hook;
    return hook;
}

void MarkRunPhase(RunPhase phase)
{
    const RunPhaseHook& hook = CurrentRunPhaseHook();
    if (hook.function)
        hook.function(hook.context, phase);
}

} // namespace vx
