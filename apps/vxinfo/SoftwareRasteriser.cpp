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

// A triangle in view coordinates (x right, y up, depth along forward) with its shade.
struct Projected {
    std::array<Point3, 3> p;
    double shade = 1;
    const ShadedTriangle* source = nullptr;
};

// The drawable triangles in view coordinates; skipped ones are left out.
std::vector<Projected> Project(const std::vector<ShadedTriangle>& triangles, const ViewSetup& view)
{
    const Basis basis = MakeBasis(view);
    Point3 light = Normalised(view.light);
    if (Dot(light, light) == 0)
        light = Point3 {-basis.forward[0], -basis.forward[1], -basis.forward[2]};
    const double ambient = std::clamp(view.ambient, 0.0, 1.0);
    std::vector<Projected> projected;
    projected.reserve(triangles.size());
    for (const ShadedTriangle& t : triangles) {
        if (!FiniteTriangle(t))
            continue;
        const Point3 normal
            = Normalised(Cross(Sub(t.corners[1], t.corners[0]), Sub(t.corners[2], t.corners[0])));
        if (Dot(normal, normal) == 0)
            continue;
        Projected p;
        p.shade = ambient + (1 - ambient) * std::abs(Dot(normal, light));
        p.source = &t;
        for (std::size_t k = 0; k < 3; ++k) {
            const Point3& c = t.corners[k];
            p.p[k] = {Dot(c, basis.right), Dot(c, basis.up), Dot(c, basis.forward)};
        }
        projected.push_back(p);
    }
    return projected;
}

// Maps view coordinates to pixels so that every triangle fits with a 5 % margin on each side.
struct Fit {
    double scale = 1, offsetX = 0, offsetY = 0;
};

Fit FitPicture(const std::vector<Projected>& projected, int width, int height)
{
    double minX = std::numeric_limits<double>::max(), maxX = -minX, minY = minX, maxY = -minX;
    for (const Projected& t : projected)
        for (const Point3& p : t.p) {
            minX = std::min(minX, p[0]);
            maxX = std::max(maxX, p[0]);
            minY = std::min(minY, p[1]);
            maxY = std::max(maxY, p[1]);
        }
    const double spanX = std::max(maxX - minX, 1e-9), spanY = std::max(maxY - minY, 1e-9);
    Fit fit;
    fit.scale = 0.9 * std::min(width / spanX, height / spanY);
    fit.offsetX = width / 2.0 - fit.scale * (minX + maxX) / 2.0;
    fit.offsetY = height / 2.0 + fit.scale * (minY + maxY) / 2.0;
    return fit;
}

// The colour (0-255 per channel) of t at barycentric weights w.
std::array<uint8_t, 3> PixelColour(const Projected& t, const std::array<double, 3>& w)
{
    const ShadedTriangle& s = *t.source;
    std::array<double, 3> colour = s.colour;
    if (s.texture) {
        const double u = w[0] * s.texCoords[0][0] + w[1] * s.texCoords[1][0] + w[2] * s.texCoords[2][0];
        const double v = w[0] * s.texCoords[0][1] + w[1] * s.texCoords[1][1] + w[2] * s.texCoords[2][1];
        colour = SampleTexture(*s.texture, u, v);
    }
    std::array<uint8_t, 3> out {};
    for (std::size_t k = 0; k < 3; ++k)
        out[k] = static_cast<uint8_t>(std::lround(255.0 * std::clamp(colour[k], 0.0, 1.0) * t.shade));
    return out;
}

void Rasterise(const Projected& t, const Fit& fit, RgbImage& image, std::vector<double>& depth)
{
    std::array<double, 3> sx {}, sy {}, sz {};
    for (std::size_t k = 0; k < 3; ++k) {
        sx[k] = fit.offsetX + fit.scale * t.p[k][0];
        sy[k] = fit.offsetY - fit.scale * t.p[k][1];
        sz[k] = t.p[k][2];
    }
    const double area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
    if (std::abs(area) < 1e-12)
        return;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
    const int x1 = std::min(image.width - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
    const int y1 = std::min(image.height - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
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
            const std::array<uint8_t, 3> colour = PixelColour(t, {w0, w1, w2});
            std::copy(colour.begin(), colour.end(), image.pixels.begin() + static_cast<long>(3 * at));
        }
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
    const std::vector<Projected> projected = Project(triangles, view);
    if (projected.empty())
        return image;
    const Fit fit = FitPicture(projected, image.width, image.height);
    std::vector<double> depth(pixelCount, std::numeric_limits<double>::infinity());
    for (const Projected& t : projected)
        Rasterise(t, fit, image, depth);
    return image;
}

} // namespace vxinfo
