#pragma once
// Helpers for the scene file tests: writing scene and side files into a temporary folder and
// loading them.

#include "scenefile/SceneFileLoader.h"

#include "support/TempDir.h"

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace vxtest {

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A scene document: the format header followed by body (a list of top-level fields, may be empty).
inline std::string MakeScene(const std::string& body)
{
    return std::string(R"({"format": "varnex-scene", "version": 1)") + (body.empty() ? "" : ", ") + body
        + "}";
}

// Little-endian binary data for side files.
class Bytes {
public:
    template <typename T> Bytes& Add(std::initializer_list<T> values)
    {
        for (T value : values) {
            char raw[sizeof(T)];
            std::memcpy(raw, &value, sizeof(T));
            data_.append(raw, sizeof(T)); // the test machines are little-endian
        }
        return *this;
    }
    size_t Size() const { return data_.size(); }
    const std::string& Data() const { return data_; }

private:
    std::string data_;
};

class SceneFiles {
public:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir_.File(name);
        WriteFile(path, bytes);
        return path;
    }
    vx::SceneLoadResult Load(const std::string& document, const vx::SceneLoadLimits& limits = {})
    {
        return vx::LoadSceneFile(Write("scene.json", document), limits);
    }
    std::string Folder() const { return dir_.Path().string(); }

private:
    TempDir dir_;
};

} // namespace vxtest
