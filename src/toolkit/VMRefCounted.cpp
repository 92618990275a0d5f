#include "toolkit/VMRefCounted.h"

#include "base/Assert.h"

namespace vx {

void VMRefCounted::Release() const
{
    if (!VX_ASSERT_TEXT(refs_ > 0, "refs>0"))
        return;
    if (--refs_ == 0)
        delete this;
}

} // namespace vx
