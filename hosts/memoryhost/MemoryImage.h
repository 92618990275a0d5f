#pragma once
// An image the substitute host holds: its size, aspect, alpha presence and 16-bit pixels, seen by
// the exporter as a HostBitmap view.

#include "host/HostBitmap.h"

#include <vector>

namespace vx {

struct MemoryImage {
    int width = 0;
    int height = 0;
    float aspect = 1.0f;
    bool hasAlpha = false;
    // width * height pixels, top row first; empty when only the size is known.
    std::vector<HostPixel64> pixels;

    // The bitmap record of this image; its pixels stay valid while the image is not changed.
    HostBitmap View() const { return HostBitmap {width, height, aspect, hasAlpha, MakeHostArray(pixels)}; }
};

} // namespace vx
