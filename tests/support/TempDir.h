#pragma once
// A fresh folder under the system's temporary directory, removed with everything in it when the
// object goes out of scope.

#include <filesystem>
#include <string>

namespace vxtest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of a file inside the folder, as text.
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace vxtest
