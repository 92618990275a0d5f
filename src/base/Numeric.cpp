#include "base/Numeric.h"

#include "base/Assert.h"
#include "base/DebugOutput.h"

#include <cmath>
#include <limits>

namespace vx {

namespace {
// 2^63: the first value above the int64 range; -2^63 is its lowest member.
constexpr double kInt64Limit = 9223372036854775808.0;
} // namespace

bool myFinite(double value)
{
    if (!std::isfinite(value))
        return false;
    if (value < -kSuspiciousMagnitude || value > kSuspiciousMagnitude)
        WriteDebugOutputF("\r\nSuspiciously large value %#g\r\n\r\n", value);
    return true;
}

std::int64_t TruncateToInt64(double value)
{
    if (!std::isfinite(value)) {
        WriteDebugOutputF("\r\nNon-finite value %#g converted to 0\r\n\r\n", value);
        return 0;
    }
    if (value >= kInt64Limit)
        return std::numeric_limits<std::int64_t>::max();
    if (value < -kInt64Limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

std::int64_t round(double value)
{
    // std::round is exact (no x + 0.5 that could round up 0.49999999999999994).
    return TruncateToInt64(std::round(value));
}

double RoundTo(double value, double step)
{
    if (!VX_ASSERT_TEXT(step > 0.0 && std::isfinite(step), "step>0"))
        return value;
    if (!std::isfinite(value))
        return static_cast<double>(TruncateToInt64(value));
    // 1 / 0.1 and 1 / 0.001 are exactly 10 and 1000 in double precision. Clamping keeps the
    // conversion to float in range; anything that large saturates below anyway.
    const double product = value * (1.0 / step);
    const double bounded
        = product > kInt64Limit ? kInt64Limit : (product < -kInt64Limit ? -kInt64Limit : product);
    const float scaled = static_cast<float>(bounded);
    const double half = scaled < 0.0f ? -0.5 : 0.5;
    return static_cast<double>(TruncateToInt64(static_cast<double>(scaled) + half)) * step;
}

} // namespace vx
