#include "database/PropertyKeyText.h"

#include "base/FixedString.h"

namespace vx {

std::string PropertyKeyText(const char* name, int32_t type)
{
    return std::string(name ? name : "") + FixedString::FromHex32(static_cast<uint32_t>(type)).c_str();
}

} // namespace vx
