#include "animation/AnimationTime.h"

#include "base/Numeric.h"

#include <algorithm>

namespace vx {

int32_t TicksToMilliseconds(int64_t ticks)
{
    const int64_t ms = TruncateToInt64(static_cast<double>(ticks) * 0.20833333333333334);
    return static_cast<int32_t>(std::clamp<int64_t>(ms, INT32_MIN, INT32_MAX));
}

} // namespace vx
