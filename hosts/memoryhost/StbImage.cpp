// The one place that compiles the stb_image decoder (Debian package libstb-dev) that DecodeImage
// uses. Only the formats the host reads are enabled, and images are decoded from memory. The
// library's own warnings are silenced for this file in the build.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#include <stb/stb_image.h>
