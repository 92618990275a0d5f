// vxgen: writes a generated scene as a scene file, so that the front end can be tried on a large
// scene. Usage: vxgen PRESET OUT.json [--seed N] [--scale K]

#include "generator/GeneratedScene.h"
#include "generator/SceneParameters.h"
#include "generator/WriteSceneFile.h"

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr const char* kUsage = "usage: vxgen PRESET OUT.json [--seed N] [--scale K]\n"
                               "presets: tiny, small, city\n";

// The number after option at argv[i + 1]; false when it is missing or not a whole number >= minimum.
bool ReadNumber(int argc, char** argv, int& i, unsigned long long minimum, unsigned long long& value)
{
    if (i + 1 >= argc)
        return false;
    const std::string text = argv[++i];
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 10);
    return !text.empty() && text[0] != '-' && end && *end == '\0' && value >= minimum;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << kUsage;
        return 2;
    }
    std::optional<vx::bench::SceneParameters> parameters = vx::bench::FindPreset(argv[1]);
    if (!parameters) {
        std::cerr << "vxgen: unknown preset '" << argv[1] << "'\n" << kUsage;
        return 2;
    }
    const std::string out = argv[2];
    unsigned long long scale = 1;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        unsigned long long value = 0;
        if (option == "--seed" && ReadNumber(argc, argv, i, 0, value)) {
            parameters->seed = value;
        } else if (option == "--scale" && ReadNumber(argc, argv, i, 1, value) && value <= 1000) {
            scale = value;
        } else {
            std::cerr << "vxgen: bad option '" << option << "'\n" << kUsage;
            return 2;
        }
    }
    const vx::bench::GeneratedScene scene
        = vx::bench::GenerateScene(vx::bench::ScaleParameters(*parameters, static_cast<int>(scale)));
    const std::string error = vx::bench::WriteSceneFile(scene, out);
    if (!error.empty()) {
        std::cerr << "vxgen: " << error << "\n";
        return 1;
    }
    std::cout << out << ": " << scene.nodes.size() << " nodes, " << scene.meshes.size() << " meshes, "
              << scene.CountNodeTriangles() << " triangles, " << scene.materials.size() << " materials, "
              << scene.textures.size() << " textures\n";
    return 0;
}
