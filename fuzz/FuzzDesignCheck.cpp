// Fuzz target: the inspector's check on arbitrary database bytes. Whatever the file holds, loading
// it and checking it must give findings, never a crash, a hang or undefined behaviour.

#include "vxinfo/DesignChecks.h"
#include "vxinfo/DesignLoading.h"
#include "vxinfo/ReadOnlyDatabase.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// One file per process, rewritten for every input: the inspector opens databases by path.
const std::string& InputPath()
{
    static const std::string path
        = (std::filesystem::temp_directory_path() / ("vxfuzz-design-" + std::to_string(getpid()) + ".vx")).string();
    return path;
}

bool WriteInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!WriteInput(data, size))
        return 0;
    vxinfo::ReadOnlyDatabase db;
    if (db.Open(InputPath()).empty()) {
        const vxinfo::DesignContent content = vxinfo::LoadDesign(db, InputPath());
        vxinfo::CheckDesign(db, content);
    }
    return 0;
}
