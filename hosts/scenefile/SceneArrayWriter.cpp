#include "scenefile/SceneArrayWriter.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace vx {

double ToShortestDouble(float value)
{
    char text[32] = {};
    const auto result = std::to_chars(text, text + sizeof(text) - 1, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

SceneArrayWriter::SceneArrayWriter(std::size_t maxInlineItems)
    : maxInlineItems_(maxInlineItems)
{
}

nlohmann::ordered_json SceneArrayWriter::MakeReference(
    std::uint64_t offset, std::size_t count, const char* type) const
{
    return nlohmann::ordered_json {{"buffer", 0}, {"offset", offset}, {"count", count}, {"type", type}};
}

void SceneArrayWriter::AppendU32(std::uint32_t value)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    bytes_.append(reinterpret_cast<const char*>(bytes), 4);
}

void SceneArrayWriter::AppendF32(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    AppendU32(bits);
}

nlohmann::ordered_json SceneArrayWriter::WritePoints(std::span<const HostPoint3> points)
{
    if (points.size() <= maxInlineItems_) {
        nlohmann::ordered_json items = nlohmann::ordered_json::array();
        for (const HostPoint3& p : points)
            items.push_back({ToShortestDouble(p.x), ToShortestDouble(p.y), ToShortestDouble(p.z)});
        return items;
    }
    const std::uint64_t offset = bytes_.size();
    for (const HostPoint3& p : points) {
        AppendF32(p.x);
        AppendF32(p.y);
        AppendF32(p.z);
    }
    return MakeReference(offset, points.size(), "f32x3");
}

nlohmann::ordered_json SceneArrayWriter::WriteFaces(std::span<const HostFace> faces)
{
    if (faces.size() <= maxInlineItems_) {
        nlohmann::ordered_json items = nlohmann::ordered_json::array();
        for (const HostFace& f : faces)
            items.push_back({f.v[0], f.v[1], f.v[2]});
        return items;
    }
    const std::uint64_t offset = bytes_.size();
    for (const HostFace& f : faces)
        for (std::uint32_t index : f.v)
            AppendU32(index);
    return MakeReference(offset, faces.size(), "u32x3");
}

nlohmann::ordered_json SceneArrayWriter::WriteMapFaces(std::span<const HostTVFace> faces)
{
    if (faces.size() <= maxInlineItems_) {
        nlohmann::ordered_json items = nlohmann::ordered_json::array();
        for (const HostTVFace& f : faces)
            items.push_back({f.t[0], f.t[1], f.t[2]});
        return items;
    }
    const std::uint64_t offset = bytes_.size();
    for (const HostTVFace& f : faces)
        for (std::uint32_t index : f.t)
            AppendU32(index);
    return MakeReference(offset, faces.size(), "u32x3");
}

nlohmann::ordered_json SceneArrayWriter::WriteValues(const std::vector<std::uint32_t>& values)
{
    if (values.size() <= maxInlineItems_)
        return nlohmann::ordered_json(values);
    const std::uint64_t offset = bytes_.size();
    for (std::uint32_t value : values)
        AppendU32(value);
    return MakeReference(offset, values.size(), "u32");
}

nlohmann::ordered_json SceneArrayWriter::WritePixels(const std::vector<HostPixel64>& pixels)
{
    const auto narrow = [](std::uint16_t channel) { return static_cast<unsigned char>(channel >> 8); };
    if (pixels.size() <= maxInlineItems_) {
        nlohmann::ordered_json items = nlohmann::ordered_json::array();
        for (const HostPixel64& p : pixels)
            items.push_back({narrow(p.r), narrow(p.g), narrow(p.b), narrow(p.a)});
        return items;
    }
    const std::uint64_t offset = bytes_.size();
    for (const HostPixel64& p : pixels) {
        const unsigned char rgba[4] = {narrow(p.r), narrow(p.g), narrow(p.b), narrow(p.a)};
        bytes_.append(reinterpret_cast<const char*>(rgba), 4);
    }
    return MakeReference(offset, pixels.size(), "u8x4");
}

} // namespace vx
