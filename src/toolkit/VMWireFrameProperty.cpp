#include "toolkit/VMWireFrameProperty.h"

#include <cmath>

namespace vx {

bool VMWireFrameProperty::Equals(const VMRenderProperty& other) const
{
    if (other.Class() != CLASS)
        return false;
    const auto& o = static_cast<const VMWireFrameProperty&>(other);
    auto within = [](float a, float b, float tolerance) { return std::fabs(a - b) <= tolerance; };
    return within(width, o.width, 0.1f) && within(red, o.red, 0.01f) && within(green, o.green, 0.01f)
        && within(blue, o.blue, 0.01f) && within(alpha, o.alpha, 0.01f);
}

} // namespace vx
