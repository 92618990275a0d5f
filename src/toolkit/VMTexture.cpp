#include "toolkit/VMTexture.h"

#include <strings.h>
#include <typeinfo>

namespace vx {

bool SameTexture(const VMTexture* a, const VMTexture* b)
{
    if (a == b)
        return true;
    if (!a || !b || typeid(*a) != typeid(*b))
        return false;
    return !a->FileName.IsEmpty() && !b->FileName.IsEmpty()
        && strcasecmp(a->FileName.c_str(), b->FileName.c_str()) == 0;
}

} // namespace vx
