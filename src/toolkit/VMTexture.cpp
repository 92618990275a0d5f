#include "toolkit/VMTexture.h"

#include <strings.h>
#include <typeinfo>

namespace vx {

int32_t VMTexture::GetIntProperty(const std::string& property, int32_t fallback) const
{
    const auto found = intProperties_.find(property);
    return found == intProperties_.end() ? fallback : found->second;
}

bool SameTexture(const VMTexture* a, const VMTexture* b)
{
    if (a == b)
        return true;
    if (!a || !b || typeid(*a) != typeid(*b))
        return false;
    return !a->FileName.empty() && !b->FileName.empty()
        && strcasecmp(a->FileName.c_str(), b->FileName.c_str()) == 0;
}

} // namespace vx
