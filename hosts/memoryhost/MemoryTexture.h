#pragma once
// The in-memory texture: one class for every texture kind. It answers as a bitmap texture when its
// class identifier is the bitmap texture's, and renders itself when it has a procedural pattern.

#include "host/HostBitmap.h"
#include "host/HostBitmapTexture.h"
#include "memoryhost/MemoryImage.h"
#include "memoryhost/ProceduralPattern.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vx {

class MemoryTexture final : public HostBitmapTexture {
public:
    MemoryTexture(HostClassId classId, std::string name);

    // Values, public for building scenes; the defaults are those of the scene file format.
    // The image file's full path (bitmap textures), kept as the host reports it.
    std::string mapName;
    int uvwSource = 0;
    int mapChannel = 1;
    int filterType = 0;
    int alphaSource = 0;
    float playbackRate = 1.0f;
    std::vector<HostTexture*> subTextures;
    // Text table parameters: (parameter id, index) -> text (the cube map's face paths: id 10).
    std::map<std::pair<int, int>, std::string> paramTexts;
    // The bitmap as declared; without one the image file is decoded on first use.
    std::optional<MemoryImage> bitmap;
    // The pattern the host renders for a procedural texture; none for other textures.
    std::optional<ProceduralPattern> pattern;

    HostClassId GetClassId() const override { return classId_; }
    const char* GetName() const override { return name_.c_str(); }
    int NumSubTexmaps() const override;
    HostTexture* GetSubTexmap(int index) const override;
    int GetUVWSource() const override { return uvwSource; }
    int GetMapChannel() const override { return mapChannel; }
    const char* GetParamText(int paramId, int index) const override;
    // The pattern rendered at width x height, kept until the next call; null without a pattern or
    // for a side outside 1..kMaxRenderSide.
    const HostBitmap* RenderBitmap(int width, int height) const override;
    const HostBitmapTexture* AsBitmapTexture() const override;

    const char* GetMapName() const override { return mapName.c_str(); }
    // The declared bitmap; else the image file decoded (DecodeImageFile) on the first call and kept;
    // null when there is neither.
    const HostBitmap* GetBitmap() const override;
    int GetFilterType() const override { return filterType; }
    int GetAlphaSource() const override { return alphaSource; }
    float GetPlaybackRate() const override { return playbackRate; }

private:
    HostClassId classId_;
    std::string name_;
    mutable bool fileRead_ = false;
    mutable std::optional<MemoryImage> decoded_;
    mutable std::optional<MemoryImage> rendered_;
    // The records handed out, pointing into bitmap, decoded_ and rendered_.
    mutable HostBitmap bitmapView_;
    mutable HostBitmap renderedView_;
};

} // namespace vx
