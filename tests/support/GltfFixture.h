#pragma once
// glTF 2.0 scenes written by the tests, as .gltf text with its buffer and image inline (data URIs)
// or as a binary .glb: a small hierarchy with one shared mesh, a textured material and a camera.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vxtest {

// A 1 x 1 red PNG image.
inline std::string MakeTinyPng()
{
    static const unsigned char kBytes[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00,
        0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00,
        0x00, 0x90, 0x77, 0x53, 0xDE, 0x00, 0x00, 0x00, 0x0C, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8,
        0xCF, 0xC0, 0x00, 0x00, 0x03, 0x01, 0x01, 0x00, 0xC9, 0xFE, 0x92, 0xEF, 0x00, 0x00, 0x00, 0x00, 0x49,
        0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(kBytes), sizeof(kBytes));
}

inline std::string EncodeBase64(const std::string& bytes)
{
    static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t n = std::uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            n |= std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size())
            n |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
    }
    return out;
}

struct GltfFixture {
    // The texture coordinate set the base colour texture uses (0 or 1; the mesh has both, set 1
    // being set 0 shifted by 0.5 in u).
    int textureSet = 0;
    // The "extras" of the node "A" (user properties).
    nlohmann::json extras = {{"VNXPart", "Windows"}, {"colour", "red"}, {"count", 3}};

    // The document (y up): "Parent" at (1, 2, 3) holds "A" (the mesh, 5 up along y, with the extras)
    // and "B" (the same mesh, scaled by 2); "Cam" is a camera. The material "Red" is half transparent and
    // two-sided. imageView: the image in a buffer view of the binary buffer (glb) instead of a data URI.
    nlohmann::json MakeDocument(bool imageView) const
    {
        nlohmann::json image = {{"name", "dot"}, {"mimeType", "image/png"}};
        if (imageView)
            image["bufferView"] = 5;
        else
            image["uri"] = "data:image/png;base64," + EncodeBase64(MakeTinyPng());
        nlohmann::json document = {
            {"asset", {{"version", "2.0"}}},
            {"scene", 0},
            {"scenes", {{{"nodes", {0, 3}}}}},
            {"nodes",
                {{{"name", "Parent"}, {"translation", {1, 2, 3}}, {"children", {1, 2}}},
                    {{"name", "A"}, {"mesh", 0}, {"translation", {0, 5, 0}}, {"extras", extras}},
                    {{"name", "B"}, {"mesh", 0}, {"scale", {2, 2, 2}}}, {{"name", "Cam"}, {"camera", 0}}}},
            {"cameras", {{{"type", "perspective"}, {"perspective", {{"yfov", 0.8}, {"znear", 0.1}}}}}},
            {"meshes",
                {{{"name", "Tri"},
                    {"primitives",
                        {{{"attributes",
                              {{"POSITION", 0}, {"NORMAL", 1}, {"TEXCOORD_0", 2}, {"TEXCOORD_1", 3}}},
                            {"indices", 4}, {"material", 0}}}}}}},
            {"materials",
                {{{"name", "Red"}, {"doubleSided", true}, {"alphaMode", "BLEND"},
                    {"pbrMetallicRoughness",
                        {{"baseColorFactor", {1, 0, 0, 0.5}},
                            {"baseColorTexture", {{"index", 0}, {"texCoord", textureSet}}}}}}}},
            {"textures", {{{"source", 0}}}},
            {"images", {image}},
        };
        const std::string bin = MakeBuffer();
        nlohmann::json buffer = {{"byteLength", bin.size()}};
        if (!imageView)
            buffer["uri"] = "data:application/octet-stream;base64," + EncodeBase64(bin);
        document["buffers"]
            = nlohmann::json::array({buffer}); // explicit: a braced single json may be taken as a copy
        document["bufferViews"] = {{{"buffer", 0}, {"byteOffset", 0}, {"byteLength", 36}},
            {{"buffer", 0}, {"byteOffset", 36}, {"byteLength", 36}},
            {{"buffer", 0}, {"byteOffset", 72}, {"byteLength", 24}},
            {{"buffer", 0}, {"byteOffset", 96}, {"byteLength", 24}},
            {{"buffer", 0}, {"byteOffset", 120}, {"byteLength", 6}},
            {{"buffer", 0}, {"byteOffset", 128}, {"byteLength", MakeTinyPng().size()}}};
        document["accessors"] = {{{"bufferView", 0}, {"componentType", 5126}, {"count", 3}, {"type", "VEC3"},
                                     {"min", {0, 0, 0}}, {"max", {1, 1, 0}}},
            {{"bufferView", 1}, {"componentType", 5126}, {"count", 3}, {"type", "VEC3"}},
            {{"bufferView", 2}, {"componentType", 5126}, {"count", 3}, {"type", "VEC2"}},
            {{"bufferView", 3}, {"componentType", 5126}, {"count", 3}, {"type", "VEC2"}},
            {{"bufferView", 4}, {"componentType", 5123}, {"count", 3}, {"type", "SCALAR"}}};
        return document;
    }

    std::string MakeGltf() const { return MakeDocument(false).dump(); }

    std::string MakeGlb() const
    {
        std::string json = MakeDocument(true).dump();
        while (json.size() % 4 != 0)
            json += ' ';
        std::string bin = MakeBuffer();
        while (bin.size() % 4 != 0)
            bin += '\0';
        std::string out;
        const auto add32 = [&out](std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                out += static_cast<char>((v >> (8 * i)) & 0xFF);
        };
        add32(0x46546C67); // "glTF"
        add32(2);
        add32(static_cast<std::uint32_t>(12 + 8 + json.size() + 8 + bin.size()));
        add32(static_cast<std::uint32_t>(json.size()));
        add32(0x4E4F534A); // "JSON"
        out += json;
        add32(static_cast<std::uint32_t>(bin.size()));
        add32(0x004E4942); // "BIN"
        out += bin;
        return out;
    }

private:
    // Positions, normals, texture coordinate sets 0 and 1, the indices (with 2 bytes of padding),
    // then the image.
    static std::string MakeBuffer()
    {
        const float values[] = {0, 0, 0, 1, 0, 0, 0, 1, 0, // positions
            0, 0, 1, 0, 0, 1, 0, 0, 1, // normals
            0, 0, 1, 0, 0, 1, // set 0
            0.5f, 0, 1.5f, 0, 0.5f, 1}; // set 1
        std::string bytes(reinterpret_cast<const char*>(values), sizeof(values));
        const std::uint16_t indices[] = {0, 1, 2, 0};
        bytes.append(reinterpret_cast<const char*>(indices), sizeof(indices));
        bytes += MakeTinyPng();
        return bytes;
    }
};

} // namespace vxtest
