// Broken plug-in libraries for the loader tests; the flag chosen at build time says what is wrong.
//   VX_FAKE_MISSING_ENTRY: only LibDescription is exported.
//   VX_FAKE_WRONG_VERSION: every entry point, but LibVersion gives another version.
//   VX_FAKE_NULL_DESCRIPTOR: every entry point, but LibClassDesc gives null.

#include <cstdint>

namespace vx {
class ClassDesc;
}

#define VX_FAKE_EXPORT extern "C" __attribute__((visibility("default")))

VX_FAKE_EXPORT const char* LibDescription()
{
    return "broken plug-in";
}

#ifndef VX_FAKE_MISSING_ENTRY
VX_FAKE_EXPORT int LibNumberClasses()
{
    return 1;
}

VX_FAKE_EXPORT vx::ClassDesc* LibClassDesc(int)
{
    return nullptr;
}

VX_FAKE_EXPORT std::uint32_t LibVersion()
{
#ifdef VX_FAKE_WRONG_VERSION
    return 0x2EE02000;
#else
    return 0x2EE02100;
#endif
}
#endif
