#include "vxinfo/SoftwareRasteriser.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vxinfo {

namespace {

Point3 Sub(const Point3& a, const Point3& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

double Dot(const Point3& a, const Point3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Point3 Cross(const Point3& a, const Point3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Point3 Normalised(const Point3& v)
{
    const double length = std::sqrt(Dot(v, v));
    if (!(length > 0) || !std::isfinite(length))
        return {0, 0, 0};
    return {v[0] / length, v[1] / length, v[2] / length};
}

bool FiniteTriangle(const ShadedTriangle& t)
{
    for (const Point3& p : t.corners)
        for (double x : p)
            if (!std::isfinite(x))
                return false;
    return true;
}

// The camera basis: right, up and forward unit vectors.
struct Basis {
    Point3 right, up, forward;
};

Basis MakeBasis(const ViewSetup& view)
{
    Basis b;
    b.forward = Normalised(view.direction);
    if (Dot(b.forward, b.forward) == 0)
        b.forward = {0, 0, -1};
    Point3 right = Normalised(Cross(b.forward, view.up));
    if (Dot(right, right) == 0)
        right = Normalised(Cross(b.forward, Point3 {1, 0, 0}));
    if (Dot(right, right) == 0)
        right = Normalised(Cross(b.forward, Point3 {0, 0, 1}));
    b.right = right;
    b.up = Cross(b.right, b.forward);
    return b;
}

} // namespace

RgbImage RenderTriangles(const std::vector<ShadedTriangle>& triangles, const ViewSetup& view)
{
    RgbImage image;
    image.width = std::clamp(view.width, 1, 8192);
    image.height = std::clamp(view.height, 1, 8192);
    const auto pixelCount = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    image.pixels.resize(pixelCount * 3);
    for (std::size_t i = 0; i < pixelCount; ++i)
        std::copy(
            view.background.begin(), view.background.end(), image.pixels.begin() + static_cast<long>(3 * i));

    const Basis basis = MakeBasis(view);
    // Screen coordinates: x right, y up, depth along forward.
    struct Projected {
        std::array<Point3, 3> p;
        std::array<double, 3> colour;
    };
    std::vector<Projected> projected;
    projected.reserve(triangles.size());
    double minX = std::numeric_limits<double>::max(), maxX = -minX, minY = minX, maxY = -minX;
    const Point3 light = Normalised({-basis.forward[0] - 0.5 * basis.right[0] + 0.7 * basis.up[0],
        -basis.forward[1] - 0.5 * basis.right[1] + 0.7 * basis.up[1],
        -basis.forward[2] - 0.5 * basis.right[2] + 0.7 * basis.up[2]});
    for (const ShadedTriangle& t : triangles) {
        if (!FiniteTriangle(t))
            continue;
        const Point3 normal
            = Normalised(Cross(Sub(t.corners[1], t.corners[0]), Sub(t.corners[2], t.corners[0])));
        if (Dot(normal, normal) == 0)
            continue;
        const double lambert = std::abs(Dot(normal, light));
        const double shade = 0.3 + 0.7 * lambert;
        Projected p;
        for (int k = 0; k < 3; ++k) {
            const Point3& c = t.corners[static_cast<std::size_t>(k)];
            p.p[static_cast<std::size_t>(k)] = {Dot(c, basis.right), Dot(c, basis.up), Dot(c, basis.forward)};
            minX = std::min(minX, p.p[static_cast<std::size_t>(k)][0]);
            maxX = std::max(maxX, p.p[static_cast<std::size_t>(k)][0]);
            minY = std::min(minY, p.p[static_cast<std::size_t>(k)][1]);
            maxY = std::max(maxY, p.p[static_cast<std::size_t>(k)][1]);
            p.colour[static_cast<std::size_t>(k)]
                = std::clamp(t.colour[static_cast<std::size_t>(k)], 0.0, 1.0) * shade;
        }
        projected.push_back(p);
    }
    if (projected.empty())
        return image;

    // Fit the picture with a 5 % margin, keeping the aspect ratio.
    const double spanX = std::max(maxX - minX, 1e-9), spanY = std::max(maxY - minY, 1e-9);
    const double scale = 0.9 * std::min(image.width / spanX, image.height / spanY);
    const double offsetX = image.width / 2.0 - scale * (minX + maxX) / 2.0;
    const double offsetY = image.height / 2.0 + scale * (minY + maxY) / 2.0;
    std::vector<double> depth(pixelCount, std::numeric_limits<double>::infinity());
    for (const Projected& t : projected) {
        std::array<double, 3> sx {}, sy {}, sz {};
        for (std::size_t k = 0; k < 3; ++k) {
            sx[k] = offsetX + scale * t.p[k][0];
            sy[k] = offsetY - scale * t.p[k][1];
            sz[k] = t.p[k][2];
        }
        const double area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        if (std::abs(area) < 1e-12)
            continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
        const int x1
            = std::min(image.width - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
        const int y1
            = std::min(image.height - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double w0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                const double w1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                const double w2 = 1.0 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0)
                    continue;
                const double z = w0 * sz[0] + w1 * sz[1] + w2 * sz[2];
                const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width)
                    + static_cast<std::size_t>(x);
                if (z >= depth[at])
                    continue;
                depth[at] = z;
                for (std::size_t k = 0; k < 3; ++k)
                    image.pixels[3 * at + k] = static_cast<uint8_t>(std::lround(255.0 * t.colour[k]));
            }
    }
    return image;
}

} // namespace vxinfo
