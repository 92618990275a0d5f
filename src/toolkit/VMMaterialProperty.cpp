#include "toolkit/VMMaterialProperty.h"

#include <cmath>

namespace vx {

namespace {

constexpr float COLOUR_TOLERANCE = 0.01f;
constexpr float ALPHA_TOLERANCE = 0.01f;

bool UsedColoursMatch(bool use, const VMColor& a, const VMColor& b)
{
    return !use || ColoursWithin(a, b, COLOUR_TOLERANCE);
}

} // namespace

bool VMMaterialProperty::Equals(const VMRenderProperty& other) const
{
    if (other.Class() != CLASS)
        return false;
    const auto& o = static_cast<const VMMaterialProperty&>(other);
    if (UseAmbient != o.UseAmbient || UseDiffuse != o.UseDiffuse || UseSpecular != o.UseSpecular
        || UseEmissive != o.UseEmissive || UseAlpha != o.UseAlpha)
        return false;
    if (UseAlpha && !(std::fabs(Alpha - o.Alpha) <= ALPHA_TOLERANCE))
        return false;
    return UsedColoursMatch(UseAmbient, Ambient, o.Ambient)
        && UsedColoursMatch(UseDiffuse, Diffuse, o.Diffuse)
        && UsedColoursMatch(UseSpecular, Specular, o.Specular)
        && UsedColoursMatch(UseEmissive, Emissive, o.Emissive);
}

void VMMaterialProperty::SetAmbient(const VMColor& c)
{
    Ambient = c;
    UseAmbient = AnyComponentAtLeast(c, USE_THRESHOLD);
}

void VMMaterialProperty::SetDiffuse(const VMColor& c)
{
    Diffuse = c;
    UseDiffuse = AnyComponentAtLeast(c, USE_THRESHOLD);
}

void VMMaterialProperty::SetSpecular(const VMColor& c)
{
    Specular = c;
    UseSpecular = AnyComponentAtLeast(c, USE_THRESHOLD);
}

void VMMaterialProperty::SetEmissive(const VMColor& c)
{
    Emissive = c;
    UseEmissive = AnyComponentAtLeast(c, USE_THRESHOLD);
}

void VMMaterialProperty::SetAlpha(float value)
{
    Alpha = value;
    UseAlpha = value < OPAQUE_ALPHA;
}

} // namespace vx
