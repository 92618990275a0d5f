#include "vxinfo/ObjWriting.h"

#include <cmath>
#include <cstdio>

namespace vxinfo {

namespace {

void AppendTriple(std::string& out, const char* tag, const char* format, const Vec3& v)
{
    char line[128];
    std::snprintf(line, sizeof line, format, tag, v[0], v[1], v[2]);
    out += line;
}

Vec3 FaceNormal(const WorldTriangle& t)
{
    const Vec3& a = t.corners[0];
    const Vec3& b = t.corners[1];
    const Vec3& c = t.corners[2];
    const Vec3 u {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const Vec3 n {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0) || !std::isfinite(length))
        return {0, 0, 0};
    return {n[0] / length, n[1] / length, n[2] / length};
}

// text with its line breaks turned into spaces, so that it stays on its line.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

bool IsZero(const Vec3& v)
{
    return v[0] == 0 && v[1] == 0 && v[2] == 0;
}

// Appends the run of triangles [first, last) as one group whose vertices are numbered from base.
void AppendGroup(std::string& out, const std::vector<WorldTriangle>& triangles, std::size_t first,
    std::size_t last, std::size_t base)
{
    out += "g " + (triangles[first].path.empty() ? std::string("root") : OneLine(triangles[first].path))
        + "\n";
    for (std::size_t t = first; t < last; ++t)
        for (const Vec3& p : triangles[t].corners)
            AppendTriple(out, "v", "%s %.9g %.9g %.9g\n", p);
    for (std::size_t t = first; t < last; ++t) {
        const Vec3 face = FaceNormal(triangles[t]);
        for (const Vec3& n : triangles[t].normals)
            AppendTriple(out, "vn", "%s %.6g %.6g %.6g\n", IsZero(n) ? face : n);
    }
    for (std::size_t t = first; t < last; ++t) {
        const std::size_t a = base + 3 * (t - first) + 1;
        out += "f " + std::to_string(a) + "//" + std::to_string(a) + " " + std::to_string(a + 1) + "//"
            + std::to_string(a + 1) + " " + std::to_string(a + 2) + "//" + std::to_string(a + 2) + "\n";
    }
}

} // namespace

std::string BuildObj(const std::vector<WorldTriangle>& triangles, const std::string& source)
{
    std::string out = "# vxinfo mesh of " + OneLine(source) + ": " + std::to_string(triangles.size())
        + " triangles in metres, x y z with z up\n";
    std::size_t first = 0;
    while (first < triangles.size()) {
        std::size_t last = first + 1;
        while (last < triangles.size() && triangles[last].path == triangles[first].path)
            ++last;
        AppendGroup(out, triangles, first, last, 3 * first);
        first = last;
    }
    return out;
}

} // namespace vxinfo
