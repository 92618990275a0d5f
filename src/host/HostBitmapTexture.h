#pragma once
// The bitmap texture's own values: its image file and the bitmap the host loaded from it.

#include "host/HostTexture.h"

#include <string>

namespace vx {

class HostBitmapTexture : public HostTexture {
public:
    // The image file's full path (never cut); empty when the texture names no file.
    virtual std::string GetMapName() const = 0;
    // The image at time 0, or null when the host has none.
    virtual const HostBitmap* GetBitmap() const = 0;
    // Filter type (2 = none) and alpha source (3 = none).
    virtual int GetFilterType() const = 0;
    virtual int GetAlphaSource() const = 0;
    // Playback of image lists: image-list frames per scene frame.
    virtual float GetPlaybackRate() const = 0;
};

} // namespace vx
