#include "exporter/ModuleHandle.h"

namespace vx {

namespace {

void*& ModuleHandleSlot()
{
    static void* handle = nullptr;
    return handle;
}

} // namespace

void StoreModuleHandle(void* handle)
{
    ModuleHandleSlot() = handle;
}

void* GetStoredModuleHandle()
{
    return ModuleHandleSlot();
}

} // namespace vx
