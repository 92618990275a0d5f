#include "run/TextureSearchPlaces.h"

#include "host/Host.h"
#include "run/ExportRunState.h"

namespace vx {

TextureSearchPlaces GetTextureSearchPlaces(const Host& host)
{
    TextureSearchPlaces places;
    places.sceneFilePath = host.GetCurFilePath();
    const int count = host.GetMapDirCount();
    for (int i = 0; i < count; ++i)
        places.mapDirectories.emplace_back(host.GetMapDir(i));
    return places;
}

TextureSearchPlaces CurrentTextureSearchPlaces()
{
    const ExportRunState* run = CurrentExporter();
    return run && run->host ? GetTextureSearchPlaces(*run->host) : TextureSearchPlaces {};
}

} // namespace vx
