#pragma once
// Where the run looks for texture images: the places its host gives.

#include "base/TextureFileSearch.h"

namespace vx {

class Host;

// The scene file path and the map directories of host.
TextureSearchPlaces GetTextureSearchPlaces(const Host& host);

// The places of the current run: those of CurrentExporter()'s host; empty places when there is no
// exporter or no host.
TextureSearchPlaces CurrentTextureSearchPlaces();

} // namespace vx
