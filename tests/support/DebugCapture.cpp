#include "support/DebugCapture.h"

namespace vxtest {

DebugCapture::DebugCapture()
    : scope_([this](std::string_view text) { text_.append(text); })
{
}

} // namespace vxtest
