#pragma once
// The name under which an animation blob is stored: its content's CRC-32 and its kind's extension.

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

// The extension of kind: ".keys" (-1), ".path" (-2), ".morph" (-3), ".bones" (-4); "" for any other
// kind (which is not stored).
const char* AnimationExtension(int32_t kind);

// "0x" and the eight upper-case hexadecimal digits of the CRC-32 of blob, then the extension of
// kind ("0x1A2B3C4D.keys"); "" for a kind without extension.
std::string AnimationBlobName(const std::vector<unsigned char>& blob, int32_t kind);

} // namespace vx
