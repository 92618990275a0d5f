// The search for a texture's image file: the ".png" copy beside the scene, the recorded path, the
// map directories, in that order.

#include "base/TextureFileSearch.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vx {
namespace {

class TextureSearch : public testing::Test {
protected:
    std::string Make(const std::string& relative)
    {
        const std::filesystem::path path = dir.Path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "image";
        return path.string();
    }
    std::string At(const std::string& relative) const { return (dir.Path() / relative).string(); }

    vxtest::TempDir dir;
};

TEST_F(TextureSearch, FirstExistingCandidateWins)
{
    struct Case {
        const char* what;
        std::vector<std::string> files; // relative to the folder
        const char* name;
        std::string path;
        std::string expected; // relative to the folder, "" for nothing found
    };
    const std::string recorded = At("old/wood.tga");
    const Case cases[] = {
        {"png subfolder first", {"scene/png/wood.png", "scene/wood.png", "old/wood.tga"}, "wood.tga",
            recorded, "scene/png/wood.png"},
        {"then beside the scene", {"scene/wood.png", "old/wood.tga"}, "wood.tga", recorded, "scene/wood.png"},
        {"then the recorded path", {"old/wood.tga", "maps1/wood.tga"}, "wood.tga", recorded, "old/wood.tga"},
        {"then the map directories in order", {"maps2/wood.tga"}, "wood.tga", recorded, "maps2/wood.tga"},
        {"a Windows path is found through the map directories", {"maps1/Wood.jpg"}, "Wood.jpg",
            "c:\\maps\\Wood.jpg", "maps1/Wood.jpg"},
        {"only .tga images look for a png copy", {"scene/wood.png"}, "wood.jpg", At("old/wood.jpg"), ""},
        {"a relative path looks for a png copy", {"scene/png/wood.png"}, "wood.jpg", "wood.jpg",
            "scene/png/wood.png"},
        {"a relative path is not looked up itself", {"scene/wood.bmp"}, "wood.bmp", "wood.bmp", ""},
        {"nothing anywhere", {}, "wood.tga", recorded, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir.Path());
        std::filesystem::create_directories(dir.Path());
        for (const std::string& file : c.files)
            Make(file);
        const TextureSearchPlaces places {At("scene/house.max"), {"", At("maps1"), At("maps2") + "\\"}};
        const std::optional<std::string> found = FindTextureFile(c.name, c.path.c_str(), places);
        if (c.expected.empty())
            EXPECT_FALSE(found) << *found;
        else
            EXPECT_EQ(found.value_or("(none)"), At(c.expected));
    }
}

TEST_F(TextureSearch, UnsavedSceneAndEmptyNamesNeverLookInTheWorkingDirectory)
{
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    Make("png/wood.png");
    Make("wood.png");
    const TextureSearchPlaces unsaved {"", {""}};
    EXPECT_FALSE(FindTextureFile("wood.tga", "wood.tga", unsaved));
    Make("maps/x");
    EXPECT_FALSE(FindTextureFile("", "", TextureSearchPlaces {"", {At("maps")}}));
    std::filesystem::current_path(old);
}

} // namespace
} // namespace vx
