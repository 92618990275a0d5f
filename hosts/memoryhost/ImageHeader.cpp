#include "memoryhost/ImageHeader.h"

#include "base/FileContent.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace vx {

namespace {

std::uint32_t ReadBigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

std::uint16_t ReadBigEndian16(const unsigned char* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::uint32_t ReadLittleEndian32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
        | (std::uint32_t(p[3]) << 24);
}

std::uint16_t ReadLittleEndian16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::optional<HostBitmap> MakeHeader(std::int64_t width, std::int64_t height, bool hasAlpha)
{
    if (width <= 0 || height <= 0 || width > 1 << 20 || height > 1 << 20)
        return std::nullopt;
    HostBitmap bitmap;
    bitmap.width = static_cast<int>(width);
    bitmap.height = static_cast<int>(height);
    bitmap.hasAlpha = hasAlpha;
    return bitmap;
}

std::optional<HostBitmap> ReadPng(const std::vector<unsigned char>& head)
{
    // Signature, then the IHDR chunk: length, "IHDR", width, height, bit depth, colour type.
    if (head.size() < 26 || std::memcmp(head.data() + 12, "IHDR", 4) != 0)
        return std::nullopt;
    const unsigned colourType = head[25];
    return MakeHeader(
        ReadBigEndian32(&head[16]), ReadBigEndian32(&head[20]), colourType == 4 || colourType == 6);
}

std::optional<HostBitmap> ReadBmp(const std::vector<unsigned char>& head)
{
    if (head.size() < 30)
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(ReadLittleEndian32(&head[18]));
    const auto height = static_cast<std::int32_t>(ReadLittleEndian32(&head[22]));
    const unsigned bits = ReadLittleEndian16(&head[28]);
    return MakeHeader(width, height < 0 ? -std::int64_t(height) : height, bits == 32);
}

std::optional<HostBitmap> ReadTga(const std::vector<unsigned char>& head)
{
    if (head.size() < 18)
        return std::nullopt;
    const unsigned imageType = head[2];
    if (imageType != 1 && imageType != 2 && imageType != 3 && imageType != 9 && imageType != 10
        && imageType != 11)
        return std::nullopt;
    const unsigned alphaBits = head[17] & 0x0F;
    return MakeHeader(
        ReadLittleEndian16(&head[12]), ReadLittleEndian16(&head[14]), alphaBits > 0 || head[16] == 32);
}

std::optional<HostBitmap> ReadJpeg(std::ifstream& file)
{
    // Walk the marker segments up to the first start-of-frame marker.
    file.clear();
    file.seekg(2);
    for (int segment = 0; segment < 10000; ++segment) {
        std::array<unsigned char, 4> marker {};
        if (!file.read(reinterpret_cast<char*>(marker.data()), 4) || marker[0] != 0xFF)
            return std::nullopt;
        const unsigned type = marker[1];
        const unsigned length = ReadBigEndian16(&marker[2]);
        if (length < 2)
            return std::nullopt;
        const bool startOfFrame
            = type >= 0xC0 && type <= 0xCF && type != 0xC4 && type != 0xC8 && type != 0xCC;
        if (startOfFrame) {
            std::array<unsigned char, 5> frame {};
            if (!file.read(reinterpret_cast<char*>(frame.data()), 5))
                return std::nullopt;
            return MakeHeader(ReadBigEndian16(&frame[3]), ReadBigEndian16(&frame[1]), false);
        }
        file.seekg(length - 2, std::ios::cur);
    }
    return std::nullopt;
}

bool HasTgaExtension(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension == ".tga";
}

} // namespace

std::optional<HostBitmap> ReadImageHeader(const std::string& path)
{
    // A FIFO or a device would block the open, or never end: only regular files are images.
    if (!IsRegularFileAt(path.c_str()))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::vector<unsigned char> head(32);
    file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(file.gcount()));

    static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (head.size() >= 8 && std::memcmp(head.data(), kPngSignature, 8) == 0)
        return ReadPng(head);
    if (head.size() >= 2 && head[0] == 0xFF && head[1] == 0xD8)
        return ReadJpeg(file);
    if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M')
        return ReadBmp(head);
    if (HasTgaExtension(path))
        return ReadTga(head);
    return std::nullopt;
}

} // namespace vx
