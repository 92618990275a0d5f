#pragma once
// VMTexture: a texture of a render state's texture stages, shared by reference count. Holds what
// stage identity compares (the name and the image file's path), the sampling settings, the image
// copied from the host when the file is not on disk, and named integer properties. Subclasses
// (movie, animated, cube textures) count as other texture classes.

#include "base/HeapString.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMRefCounted.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vx {

// An image held in memory: 8 bits per channel, RGBA, top row first.
struct VMImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    // Red, green and blue are equal in every pixel.
    bool grayscale = false;
    // width * height * 4 bytes.
    std::vector<uint8_t> rgba;

    bool IsEmpty() const { return rgba.empty(); }
};

class VMTexture : public VMRefCounted {
public:
    VMTexture() = default;

    // The image's file name without directory, or the cleaned host texture name.
    HeapString name;
    // Full path of the image file, or only its file name when the file is not on disk. A path is
    // never cut, so it is kept whole rather than in a fixed-size buffer.
    std::string FileName;
    bool Filtered = true;
    int32_t MipMaps = 0;
    // 0: the texture's alpha is not used (the host's alpha source is "none"); 1 (the default): it is.
    int32_t AlphaQuality = 1;
    int32_t ColorQuality = 0;
    float AspectRatio = 1.0f;
    // Address modes of u and v (0 = wrap), copied into a stage's coordinate word.
    uint32_t Mode_u = 0;
    uint32_t Mode_v = 0;
    // The pixels, only when they came from the host (file not on disk, or a rendered texture).
    VMImage image;

    // The named integer property name, or fallback when it is not set.
    int32_t GetIntProperty(const std::string& property, int32_t fallback = 0) const;
    // Sets (or replaces) the named integer property.
    void SetIntProperty(const std::string& property, int32_t value) { intProperties_[property] = value; }
    bool HasIntProperty(const std::string& property) const { return intProperties_.count(property) != 0; }

private:
    std::map<std::string, int32_t> intProperties_;
};

// A movie file (".avi", ".mpg", ...): played by the reader, never decoded here.
class VMAVTexture : public VMTexture { };

// An image-list file (".ifl"): the frames are the listed images, shown frameTime scene frames apart.
class VMAnimatedTexture : public VMTexture {
public:
    float frameTime = 1.0f;
};

// Six face textures, in the order PosX, NegX, PosY, NegY, PosZ, NegZ; a face may be null.
class VMCubeTexture : public VMTexture {
public:
    enum Face { PosX = 0, NegX = 1, PosY = 2, NegY = 3, PosZ = 4, NegZ = 5 };
    std::array<VMRef<VMTexture>, 6> faces;
};

// Whether a and b stand for the same texture: the same object, or objects of the same class whose
// file names are non-empty and equal without regard to case. Null only matches null.
bool SameTexture(const VMTexture* a, const VMTexture* b);

} // namespace vx
