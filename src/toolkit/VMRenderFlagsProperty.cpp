#include "toolkit/VMRenderFlagsProperty.h"

namespace vx {

bool VMRenderFlagsProperty::Equals(const VMRenderProperty& other) const
{
    if (other.Class() != CLASS)
        return false;
    const auto& o = static_cast<const VMRenderFlagsProperty&>(other);
    return flags == o.flags && reserved == o.reserved;
}

} // namespace vx
