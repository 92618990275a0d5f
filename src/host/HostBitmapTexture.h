#pragma once
// The bitmap texture's own values: its image file and the bitmap the host loaded from it.

#include "host/HostTexture.h"

namespace vx {

struct HostBitmap;

class HostBitmapTexture : public HostTexture {
public:
    // The image file's full path as the host keeps it (never cut; it may be a path of another
    // machine, such as "c:\maps\wood.tga"); "" when the texture names no file. Owned by the texture,
    // valid while it lives.
    virtual const char* GetMapName() const = 0;
    // The image at time 0, or null when the host has none (no file, or a file it cannot decode).
    // Owned by the texture; the record and its pixels stay valid while the texture lives.
    virtual const HostBitmap* GetBitmap() const = 0;
    // Filter type (2 = none) and alpha source (3 = none).
    virtual int GetFilterType() const = 0;
    virtual int GetAlphaSource() const = 0;
    // Playback of image lists: image-list frames per scene frame.
    virtual float GetPlaybackRate() const = 0;
};

} // namespace vx
