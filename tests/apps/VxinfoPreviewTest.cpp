// vxinfo preview on hand-made designs: the three views look from their sides, the fixed light
// shades the faces of a cube apart, and a material's texture shows the right way up.

#include "VxinfoCheck.h"
#include "VxinfoHouse.h"
#include "VxinfoTinyDesign.h"

#include "memoryhost/DecodeImage.h"
#include "vxinfo/PreviewRender.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <map>
#include <string>
#include <vector>

namespace vxtest {
namespace {

// A grey cube at the origin (the root's own geometry) and a red one placed at (3, 2, -2).
std::string WriteTwoCubes(const TempDir& dir)
{
    TinyDesign d;
    d.AddCube(100, {0.8, 0.8, 0.8});
    d.AddCube(101, {1, 0, 0});
    d.AddObject(10, "Root", 100);
    d.AddObject(11, "Red", 101);
    d.AddInstance(20, "Red", 10, 11, {{3, 2, -2}, {0, 0, 0}, {1, 1, 1}});
    d.SetRoot(10);
    const std::string path = dir.File("cubes.vx");
    EXPECT_EQ(d.Write(path), "");
    return path;
}

struct Centre {
    double x = 0, y = 0;
    int count = 0;
};

// The mean pixel position of the grey and of the red pixels of a picture.
void FindCubes(const vx::MemoryImage& image, Centre& grey, Centre& red)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const vx::HostPixel64& p = image.pixels[static_cast<std::size_t>(y * image.width + x)];
            Centre* c = nullptr;
            if (p.r == p.g && p.g == p.b && p.r != 65535)
                c = &grey;
            else if (p.r > 4 * p.g && p.g == p.b)
                c = &red;
            if (c) {
                c->x += x;
                c->y += y;
                ++c->count;
            }
        }
    for (Centre* c : {&grey, &red})
        if (c->count > 0) {
            c->x /= c->count;
            c->y /= c->count;
        }
}

TEST(VxinfoPreview, EachViewLooksFromItsSide)
{
    TempDir dir;
    const std::string source = WriteTwoCubes(dir);
    std::map<std::string, std::vector<vx::HostPixel64>> pictures;
    for (const char* view : {"iso", "front", "top"}) {
        SCOPED_TRACE(view);
        const std::string target = dir.File(std::string(view) + ".png");
        const ProcessResult run
            = RunProgram(VxinfoPath(), {"preview", source, target, "--view", view, "--size", "160x120"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::optional<vx::MemoryImage> image = vx::DecodeImageFile(target);
        ASSERT_TRUE(image.has_value());
        Centre grey, red;
        FindCubes(*image, grey, red);
        ASSERT_GT(grey.count, 100);
        ASSERT_GT(red.count, 100);
        // Front: x to the right, z up. Top: x to the right, y up.
        if (std::string(view) == "front") {
            EXPECT_GT(red.x, grey.x + 10);
            EXPECT_GT(red.y, grey.y + 10);
        } else if (std::string(view) == "top") {
            EXPECT_GT(red.x, grey.x + 10);
            EXPECT_LT(red.y, grey.y - 10);
        }
        pictures[view] = image->pixels;
    }
    EXPECT_NE(pictures["iso"], pictures["front"]);
    EXPECT_NE(pictures["iso"], pictures["top"]);
    EXPECT_NE(pictures["front"], pictures["top"]);
}

// The number of pixels of each grey level (red, green and blue alike, not the white background).
std::map<int, int> GreyLevels(const vxinfo::RgbImage& image)
{
    std::map<int, int> levels;
    for (std::size_t i = 0; i + 2 < image.pixels.size(); i += 3) {
        const uint8_t r = image.pixels[i], g = image.pixels[i + 1], b = image.pixels[i + 2];
        if (r == g && g == b && r != 255)
            ++levels[r];
    }
    return levels;
}

TEST(VxinfoPreview, TheLightShadesTheFacesOfACubeApart)
{
    TempDir dir;
    OpenedDesign design(WriteTwoCubes(dir));
    ASSERT_EQ(design.openFailure, "");
    // From the front-left above, the cube shows its top, front and left faces, each lit differently.
    const vxinfo::RgbImage iso = vxinfo::RenderPreview(design.db, design.content, 200, 200);
    int broad = 0;
    for (const auto& [level, pixels] : GreyLevels(iso))
        broad += pixels > 200;
    EXPECT_GE(broad, 3);
    // Straight from the front only the front face shows: one shade.
    const vxinfo::RgbImage front
        = vxinfo::RenderPreview(design.db, design.content, 200, 200, vxinfo::PreviewView::Front);
    EXPECT_EQ(GreyLevels(front).size(), 1u);
}

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(
        static_cast<const char*>(data), static_cast<std::size_t>(size));
}

TEST(VxinfoPreview, ATexturedMaterialShowsItsImageTheRightWayUp)
{
    // 2 x 2 pixels: red, green on the first row; blue, white on the second.
    const uint8_t pixels[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    std::string png;
    ASSERT_NE(stbi_write_png_to_func(AppendBytes, &png, 2, 2, 3, pixels, 6), 0);
    TinyDesign d;
    d.AddTexture(30, png);
    d.AddCube(100, {0.5, 0.5, 0.5}, 30);
    d.AddObject(10, "Root", 100);
    d.SetRoot(10);
    TempDir dir;
    ASSERT_EQ(d.Write(dir.File("textured.vx")), "");
    OpenedDesign design(dir.File("textured.vx"));
    const vxinfo::RgbImage image
        = vxinfo::RenderPreview(design.db, design.content, 100, 100, vxinfo::PreviewView::Front);
    // The front face fills the middle 90 x 90 pixels; (0, 0) of the texture is its top-left corner.
    const auto at = [&](int x, int y) {
        const std::size_t i = 3 * static_cast<std::size_t>(y * image.width + x);
        return std::array<int, 3> {image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]};
    };
    const std::array<int, 3> topLeft = at(27, 27), topRight = at(72, 27), bottomLeft = at(27, 72);
    EXPECT_GT(topLeft[0], 4 * std::max(topLeft[1], topLeft[2]) + 20);
    EXPECT_GT(topRight[1], 4 * std::max(topRight[0], topRight[2]) + 20);
    EXPECT_GT(bottomLeft[2], 4 * std::max(bottomLeft[0], bottomLeft[1]) + 20);
}

} // namespace
} // namespace vxtest
