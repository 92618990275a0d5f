#pragma once
// A small software renderer: triangles seen along a direction with an orthographic projection,
// Lambert-shaded from a fixed light, coloured or textured, drawn with a z-buffer into an RGB image.
// No GPU and no window.

#include "vxinfo/RgbImage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vxinfo {

using Point3 = std::array<double, 3>;
using TexCoord = std::array<double, 2>;

struct ShadedTriangle {
    std::array<Point3, 3> corners; // right-handed axes
    std::array<double, 3> colour {0.8, 0.8, 0.8}; // 0-1; used when there is no texture
    const RgbImage* texture = nullptr; // when set, sampled at texCoords (SampleTexture) instead of colour
    std::array<TexCoord, 3> texCoords {};
};

struct ViewSetup {
    Point3 direction {0, 0, -1}; // the way the viewer looks; need not be unit length
    Point3 up {0, 1, 0}; // roughly up on the picture; must not be parallel to direction
    Point3 light {0, 0, 1}; // towards the light, fixed in the triangles' axes; need not be unit length
    double ambient = 0.3; // the brightness of a face edge-on to the light, 0-1
    int width = 800;
    int height = 600;
    std::array<uint8_t, 3> background {255, 255, 255};
};

// Draws triangles seen along view.direction with an orthographic projection that fits all of them
// into the picture with a 5 % margin. Each is shaded by ambient + (1 - ambient) |n . light| with n
// its face normal, so both faces are lit alike; its colour, or its texture interpolated across it
// (affinely), is multiplied by the shade. Triangles with a non-finite or degenerate corner are
// skipped. An empty list gives a picture of the background colour. width and height below 1 count
// as 1, above 8192 as 8192.
RgbImage RenderTriangles(const std::vector<ShadedTriangle>& triangles, const ViewSetup& view);

} // namespace vxinfo
