#include "toolkit/VMAlphaProperty.h"

#include "base/Numeric.h"

namespace vx {

bool VMAlphaProperty::Equals(const VMRenderProperty& other) const
{
    if (other.Class() != CLASS)
        return false;
    const auto& o = static_cast<const VMAlphaProperty&>(other);
    return sourceFactor == o.sourceFactor && destinationFactor == o.destinationFactor
        && _feqz(alpha - o.alpha);
}

} // namespace vx
