#pragma once
// Numeric conventions of the exporter: the near-zero test, the finiteness check that reports
// suspicious magnitudes, and the roundings of stored numbers. Every conversion of a floating value
// to an integer goes through TruncateToInt64, which cannot overflow.

#include <bit>
#include <cstdint>

namespace vx {

// True when |value| < 2^-16, read from the biased exponent (at most 110). Zero and denormals are
// near zero; NaN and infinities are not.
inline bool _feqz(float value)
{
    return ((std::bit_cast<std::uint32_t>(value) >> 23) & 0xFFu) <= 110u;
}

// As above for 64-bit floats: the biased exponent is at most 1006.
inline bool _feqz(double value)
{
    return ((std::bit_cast<std::uint64_t>(value) >> 52) & 0x7FFu) <= 1006u;
}

// The magnitude beyond which a finite value is reported as suspiciously large.
inline constexpr double kSuspiciousMagnitude = 5e9;

// False for a NaN or an infinity. A finite value outside -5e9 ... 5e9 is still finite, but three
// lines go to the debugger output: an empty line, "Suspiciously large value " with the value in
// "%#g", an empty line; each line ends in "\r\n".
bool myFinite(double value);

// True when value lies within -5e9 ... 5e9: myFinite(value) is then true and reports nothing. False
// for every other value (NaN included), for which myFinite must be asked.
inline bool IsQuietlyFinite(double value)
{
    return value >= -kSuspiciousMagnitude && value <= kSuspiciousMagnitude;
}

// value truncated toward zero to a 64-bit integer. Values beyond the int64 range give its nearest
// end. A NaN or an infinity gives 0 and reports the lines "", "Non-finite value <%#g> converted to 0",
// "" to the debugger output.
std::int64_t TruncateToInt64(double value);

// value rounded to the nearest integer, halves away from zero (1.5 gives 2, -1.5 gives -2).
// Saturates and reports like TruncateToInt64 (a NaN or an infinity gives 0). Call it as vx::round:
// unlike ::round it returns an integer.
std::int64_t round(double value);

// value rounded to a multiple of step, meant for the steps 0.1 and 0.001: value x (1 / step)
// held as a 32-bit float, plus one half with its sign, truncated toward zero to a 64-bit integer,
// times step in double precision. So RoundTo(-0.05, 0.1) is -0.1 and RoundTo(0.04999, 0.1) is 0.
// Saturates like TruncateToInt64; a NaN or an infinity gives 0 with its report. A step that is not
// positive and finite is reported as an assertion and the value is returned unchanged.
double RoundTo(double value, double step);

} // namespace vx
