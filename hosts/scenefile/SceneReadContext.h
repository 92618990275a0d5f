#pragma once
// What the parts of the scene file loader share while one file loads: the typed JSON reader, the
// limits, the scene file's folder, the side files, the memory budget and the scene being built.

#include "memoryhost/MemoryHost.h"
#include "scenefile/JsonReader.h"
#include "scenefile/SceneLoadLimits.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vx {

// A side file named by the scene file: its resolved path and its size when the load began.
struct SceneBuffer {
    std::string path;
    std::uint64_t size = 0;
    // Opened by the first read and kept open for the rest of the load: a large scene reads tens
    // of thousands of arrays from one side file.
    mutable std::unique_ptr<std::ifstream> stream;
    // The part of the file read last, from windowOffset on. Arrays mostly follow each other, and a
    // mesh's map faces often repeat its faces, so most arrays are served from it without a read.
    mutable std::vector<unsigned char> window;
    mutable std::uint64_t windowOffset = 0;
};

class SceneReadContext {
public:
    SceneReadContext(std::string file, const SceneLoadLimits& limits, MemoryHost& host);

    // Counts items x itemBytes against the array budget of the scene; fails (SizeLimit, at pointer)
    // when one array has more items than allowed or the scene's arrays would exceed their bytes.
    void ChargeArray(std::uint64_t items, std::uint64_t itemBytes, const std::string& pointer);

    // A path written in the scene file: backslashes are taken as folder separators, and a relative
    // path is made absolute against the scene file's folder (then normalised). "" stays "".
    std::string ResolvePath(const std::string& text) const;
    // An image path written in the scene file: a Windows drive or network path ("c:\\maps\\wood.tga",
    // "\\\\server\\maps\\wood.tga") is kept exactly as written, as the host that saved the scene
    // reports it; any other path as ResolvePath.
    std::string ResolveImagePath(const std::string& text) const;

    JsonReader reader;
    const SceneLoadLimits& limits;
    MemoryHost& host;
    std::vector<SceneBuffer> buffers;
    // Declarations by id, as they are read.
    std::unordered_map<std::string, MemoryTexture*> textures;
    std::unordered_map<std::string, MemoryMaterial*> materials;
    std::unordered_map<std::string, MemoryObject*> objects;
    // Ticks per unit of the key times in the file: the ticks per frame, or 1 when times are ticks.
    std::int64_t ticksPerTimeUnit = 160;

private:
    std::filesystem::path folder_;
    std::uint64_t arrayBytes_ = 0;
};

} // namespace vx
