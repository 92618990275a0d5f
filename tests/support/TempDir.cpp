#include "support/TempDir.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace vxtest {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vxtest-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder from " + pattern);
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace vxtest
