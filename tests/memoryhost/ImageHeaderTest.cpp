#include "memoryhost/ImageHeader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace vx {
namespace {

// Image files written into a temporary folder.
class ImageFiles {
public:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir_.File(name);
        std::ofstream file(path, std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string Folder() const { return dir_.Path().string(); }

private:
    vxtest::TempDir dir_;
};

std::string Raw(std::initializer_list<int> bytes)
{
    std::string text;
    for (int b : bytes)
        text += static_cast<char>(b);
    return text;
}

TEST(ImageHeader, ReadsTheSizeOfEachKnownFormat)
{
    struct Case {
        const char* file;
        std::string bytes;
        int width;
        int height;
        bool hasAlpha;
    };
    const Case cases[] = {
        {"a.png",
            Raw({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 1, 0, 0,
                0, 0, 64, 8, 2, 0, 0, 0}),
            256, 64, false},
        {"b.TGA", Raw({0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x2C, 0x01, 0x00, 0x01, 32, 8}), 300, 256, true},
        {"c.bmp",
            Raw({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 8, 0, 0, 0, 0xFC, 0xFF, 0xFF,
                0xFF, 1, 0, 24, 0}),
            8, 4, false},
        {"d.jpg", Raw({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xC0, 0, 17, 8, 0, 48, 0, 96}), 96, 48,
            false},
    };
    for (const Case& c : cases) {
        ImageFiles files;
        const auto header = ReadImageHeader(files.Write(c.file, c.bytes));
        ASSERT_TRUE(header.has_value()) << c.file;
        EXPECT_EQ(header->width, c.width) << c.file;
        EXPECT_EQ(header->height, c.height) << c.file;
        EXPECT_EQ(header->hasAlpha, c.hasAlpha) << c.file;
        EXPECT_FALSE(header->HasPixels()) << c.file;
        EXPECT_TRUE(header->GetRow(0).empty()) << c.file;
    }
}

TEST(ImageHeader, RefusesWhatItCannotRead)
{
    ImageFiles files;
    EXPECT_FALSE(ReadImageHeader(files.Folder() + "/missing.png"));
    EXPECT_FALSE(
        ReadImageHeader(files.Write("short.png", Raw({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0}))));
    EXPECT_FALSE(ReadImageHeader(files.Write("text.tga", "not an image at all")));
    EXPECT_FALSE(ReadImageHeader(files.Write("cut.jpg", Raw({0xFF, 0xD8, 0xFF, 0xE0, 0, 40}))));
    EXPECT_FALSE(ReadImageHeader(files.Write("zero.bmp",
        Raw({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 1, 0, 24,
            0}))));
}

} // namespace
} // namespace vx
