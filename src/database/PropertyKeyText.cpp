#include "database/PropertyKeyText.h"

namespace vx {

FixedString PropertyKeyText(const char* name, int32_t type)
{
    return FixedString::Concat(name, FixedString::FromHex32(static_cast<uint32_t>(type)).c_str());
}

} // namespace vx
