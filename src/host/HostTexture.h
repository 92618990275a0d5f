#pragma once
// A host texture (texture map) at time 0. Materials share textures; the exporter compares them by
// address.

#include "host/HostClassId.h"

namespace vx {

class HostBitmapTexture;
struct HostBitmap;

class HostTexture {
public:
    virtual ~HostTexture() = default;

    virtual HostClassId GetClassId() const = 0;
    // The texture's name; "" when it has none. Owned by the texture, valid while it lives.
    virtual const char* GetName() const = 0;
    // Sub-textures: slot count, and the texture in a slot (null when empty or out of range).
    virtual int NumSubTexmaps() const = 0;
    virtual HostTexture* GetSubTexmap(int index) const = 0;

    // Where the texture coordinates come from: 0 explicit map channel, 1 object coordinates,
    // 2 vertex colour channel, 3 world coordinates; and the map channel (1-based) for source 0.
    virtual int GetUVWSource() const = 0;
    virtual int GetMapChannel() const = 0;

    // Entry index of the text table parameter paramId of parameter block 0 (the cube map's six face
    // image paths are entries 0 to 5 of parameter 10); "" when there is none. Owned by the texture,
    // valid while it lives.
    virtual const char* GetParamText(int paramId, int index) const = 0;

    // Renders the texture into a width x height bitmap at time 0 (no filtering). The host keeps the
    // bitmap: the record and its pixels stay valid until the next RenderBitmap call on this texture
    // or the texture's end; the caller never frees it. Null when the host cannot render the texture
    // or the size is not positive.
    virtual const HostBitmap* RenderBitmap(int width, int height) const = 0;

    // The bitmap-texture view when the texture is one (kClassBitmapTexture), otherwise null.
    virtual const HostBitmapTexture* AsBitmapTexture() const = 0;
};

} // namespace vx
