#pragma once
// Reading material values from the host: colours cleaned of tiny and negative components, and
// non-finite values treated as absent so that the default applies.

#include "host/HostTypes.h"
#include "toolkit/VMColor.h"

#include <cmath>
#include <optional>

namespace vx {

// Components below this become 0.
constexpr float COLOUR_FLOOR = 0.00001f;

// c with every component below 0.00001 (negative ones included) set to 0; absent when a component
// is not finite.
inline std::optional<VMColor> CleanColour(const HostColor& c)
{
    if (!std::isfinite(c.r) || !std::isfinite(c.g) || !std::isfinite(c.b))
        return std::nullopt;
    auto clean = [](float v) { return v < COLOUR_FLOOR ? 0.0f : v; };
    return VMColor {clean(c.r), clean(c.g), clean(c.b)};
}

// value, or fallback when value is not finite.
inline float FiniteOr(float value, float fallback)
{
    return std::isfinite(value) ? value : fallback;
}

} // namespace vx
