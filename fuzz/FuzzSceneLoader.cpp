// Fuzz target: the JSON scene loader. Any bytes must give a scene or an error that names the
// document, never a crash, a hang or undefined behaviour.

#include "scenefile/SceneFileLoader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Small limits keep each input quick; the checks against them are part of what is tested.
    vx::SceneLoadLimits limits;
    limits.maxSceneFileBytes = 1 << 20;
    const vx::SceneLoadResult result = vx::LoadSceneText(text, "/nonexistent/fuzz/scene.json", limits);
    if (!result.scene && (!result.error || result.error->file.empty()))
        std::abort(); // a failure must say where
    return 0;
}
