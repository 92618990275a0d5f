#pragma once
// The in-memory texture: one class for every texture kind. It answers as a bitmap texture when its
// class identifier is the bitmap texture's.

#include "host/HostBitmap.h"
#include "host/HostBitmapTexture.h"

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
    // The image file's full path (bitmap textures).
    std::string mapName;
    int uvwSource = 0;
    int mapChannel = 1;
    int filterType = 0;
    int alphaSource = 0;
    float playbackRate = 1.0f;
    std::vector<HostTexture*> subTextures;
    // Text table parameters: (parameter id, index) -> text (the cube map's face paths: id 10).
    std::map<std::pair<int, int>, std::string> paramTexts;
    // The bitmap as declared; without one the bitmap is read from the image file's header.
    std::optional<HostBitmap> bitmap;

    HostClassId GetClassId() const override { return classId_; }
    std::string GetName() const override { return name_; }
    int NumSubTexmaps() const override;
    HostTexture* GetSubTexmap(int index) const override;
    int GetUVWSource() const override { return uvwSource; }
    int GetMapChannel() const override { return mapChannel; }
    std::string GetParamText(int paramId, int index) const override;
    // The substitute host renders no procedural textures: always null.
    std::unique_ptr<HostBitmap> RenderBitmap(int width, int height) const override;
    const HostBitmapTexture* AsBitmapTexture() const override;

    std::string GetMapName() const override { return mapName; }
    // The declared bitmap; else the header of the image file when it exists and is readable
    // (no pixels); else null.
    const HostBitmap* GetBitmap() const override;
    int GetFilterType() const override { return filterType; }
    int GetAlphaSource() const override { return alphaSource; }
    float GetPlaybackRate() const override { return playbackRate; }

private:
    HostClassId classId_;
    std::string name_;
    mutable bool headerRead_ = false;
    mutable std::optional<HostBitmap> header_;
};

} // namespace vx
