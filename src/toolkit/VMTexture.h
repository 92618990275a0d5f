#pragma once
// VMTexture: a texture of a render state's texture stages, shared by reference count. Holds what
// stage identity compares: the name and the image file's path. Subclasses (movie, animated, cube
// textures) count as other texture classes.

#include "base/FixedString.h"
#include "base/HeapString.h"
#include "toolkit/VMRefCounted.h"

#include <cstdint>

namespace vx {

class VMTexture : public VMRefCounted {
public:
    VMTexture() = default;

    // The image's file name without directory, or the cleaned host texture name.
    HeapString name;
    // Full path of the image file, or only its file name when the file is not on disk.
    FixedString FileName;
    bool Filtered = true;
    int32_t MipMaps = 0;
    int32_t AlphaQuality = 0;
    int32_t ColorQuality = 0;
    float AspectRatio = 1.0f;
};

// Whether a and b stand for the same texture: the same object, or objects of the same class whose
// file names are non-empty and equal without regard to case. Null only matches null.
bool SameTexture(const VMTexture* a, const VMTexture* b);

} // namespace vx
