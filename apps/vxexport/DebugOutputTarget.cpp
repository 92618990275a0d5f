#include "vxexport/DebugOutputTarget.h"

#include <utility>

namespace vx {

DebugOutputTarget::~DebugOutputTarget()
{
    if (installed_)
        SetDebugOutputSink(std::move(previous_));
    if (ownsFile_)
        std::fclose(file_);
}

bool DebugOutputTarget::Open(const std::string& path)
{
    if (installed_)
        return false;
    if (path == "-") {
        file_ = stderr;
    } else {
        file_ = std::fopen(path.c_str(), "wb");
        if (!file_)
            return false;
        ownsFile_ = true;
    }
    std::FILE* file = file_;
    previous_ = SetDebugOutputSink([file](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fflush(file);
    });
    installed_ = true;
    return true;
}

} // namespace vx
