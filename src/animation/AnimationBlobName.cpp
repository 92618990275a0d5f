#include "animation/AnimationBlobName.h"

#include "animation/AnimationKind.h"

#include "base/Crc32.h"
#include "base/FixedString.h"

#include <cinttypes>

namespace vx {

const char* AnimationExtension(int32_t kind)
{
    switch (kind) {
    case kAnimationKeys:
        return ".keys";
    case kAnimationPath:
        return ".path";
    case kAnimationMorph:
        return ".morph";
    case kAnimationBones:
        return ".bones";
    default:
        return "";
    }
}

std::string AnimationBlobName(const std::vector<unsigned char>& blob, int32_t kind)
{
    const std::string extension = AnimationExtension(kind);
    if (extension.empty())
        return {};
    // The 32-bit CRC is formatted as such, whatever the width of long.
    const uint32_t crc = Crc32(blob.data(), blob.size());
    return std::string(FixedString::Formatted("0x%08" PRIX32, crc).c_str()) + extension;
}

} // namespace vx
