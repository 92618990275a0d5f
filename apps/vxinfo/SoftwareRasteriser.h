#pragma once
// A small software renderer: flat-shaded triangles seen along a direction, drawn with a z-buffer
// into an RGB image. No GPU and no window.

#include <array>
#include <cstdint>
#include <vector>

namespace vxinfo {

using Point3 = std::array<double, 3>;

struct ShadedTriangle {
    std::array<Point3, 3> corners; // right-handed axes
    std::array<double, 3> colour {0.8, 0.8, 0.8}; // 0-1
};

struct ViewSetup {
    Point3 direction {0, 0, -1}; // the way the viewer looks; need not be unit length
    Point3 up {0, 1, 0}; // roughly up on the picture; must not be parallel to direction
    int width = 800;
    int height = 600;
    std::array<uint8_t, 3> background {255, 255, 255};
};

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height * 3 bytes, top row first
};

// Draws triangles seen along view.direction with an orthographic projection that fits all of them
// into the picture with a margin. Each triangle is lit by a light from behind the viewer's left
// shoulder plus an ambient part, both faces alike. Triangles with a non-finite or degenerate corner
// are skipped. An empty list gives a picture of the background colour. width and height below 1
// count as 1, above 8192 as 8192.
RgbImage RenderTriangles(const std::vector<ShadedTriangle>& triangles, const ViewSetup& view);

} // namespace vxinfo
