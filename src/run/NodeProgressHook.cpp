#include "run/NodeProgressHook.h"

namespace vx {

NodeProgressFunction& NodeProgressHook()
{
    static NodeProgressFunction hook = nullptr;
    return hook;
}

} // namespace vx
