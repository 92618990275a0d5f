// The one place that compiles the stb_image_write encoder (Debian package libstb-dev) that
// WritePng uses. The library's own warnings are silenced for this file in the build.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
