// The plug-in library's entry: the four plain-C functions the loading program asks, and the
// load-time function that stores the library's module handle. Nothing else leaves the library.

#include "exporter/ModuleHandle.h"
#include "exporter/PluginLibrary.h"

#include <cstdint>
#include <dlfcn.h>

#define VX_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Runs when the library is loaded: the module handle is the base address of the loaded library,
// found through an address inside it.
__attribute__((constructor)) void StoreLibraryModuleHandle()
{
    Dl_info info {};
    if (dladdr(reinterpret_cast<void*>(&StoreLibraryModuleHandle), &info) != 0)
        vx::StoreModuleHandle(info.dli_fbase);
}

} // namespace

// The library description ("export to VX"); null while no module handle is stored.
VX_PLUGIN_EXPORT const char* LibDescription()
{
    return vx::GetLibraryDescription();
}

// The number of classes in the library: 1.
VX_PLUGIN_EXPORT int LibNumberClasses()
{
    return vx::GetLibraryClassCount();
}

// The class descriptor for index 0; null for any other index.
VX_PLUGIN_EXPORT vx::ClassDesc* LibClassDesc(int index)
{
    return vx::GetLibraryClassDesc(index);
}

// The host interface version the library was built for (0x2EE02100).
VX_PLUGIN_EXPORT std::uint32_t LibVersion()
{
    return vx::GetLibraryVersion();
}
