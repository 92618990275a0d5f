#pragma once
// Time values of the host's animation: intervals of ticks, the infinities that bound them and the
// tick rate.

#include "host/HostTypes.h"

#include <cstdint>

namespace vx {

// Ticks per second of host time.
inline constexpr HostTime kTicksPerSecond = 4800;

// The host's infinite times: an interval that reaches one of them is unbounded on that side.
inline constexpr HostTime kTimeNegInfinity = INT32_MIN;
inline constexpr HostTime kTimePosInfinity = INT32_MAX;

// A closed interval of host time [start, end]. The host's empty interval ("never") has both ends
// at kTimeNegInfinity; "forever" spans both infinities.
struct HostInterval {
    HostTime start = kTimeNegInfinity;
    HostTime end = kTimeNegInfinity;
    friend bool operator==(const HostInterval&, const HostInterval&) = default;
};

inline constexpr HostInterval kIntervalNever {kTimeNegInfinity, kTimeNegInfinity};
inline constexpr HostInterval kIntervalForever {kTimeNegInfinity, kTimePosInfinity};

// True for the empty interval: "never", or an end before the start.
inline bool IsEmptyInterval(const HostInterval& i)
{
    return i == kIntervalNever || i.end < i.start;
}

// True when an end of a non-empty interval lies at an infinity.
inline bool IsInfiniteInterval(const HostInterval& i)
{
    return !IsEmptyInterval(i) && (i.start == kTimeNegInfinity || i.end == kTimePosInfinity);
}

// True when t lies in the non-empty interval i (ends included).
inline bool IntervalContains(const HostInterval& i, HostTime t)
{
    return !IsEmptyInterval(i) && t >= i.start && t <= i.end;
}

} // namespace vx
