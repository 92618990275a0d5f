#pragma once
// Captures everything written to the debugger output while the object lives.

#include "base/DebugOutput.h"

#include <string>

namespace vxtest {

class DebugCapture {
public:
    DebugCapture();
    const std::string& Text() const { return text_; }
    void Clear() { text_.clear(); }

private:
    std::string text_;
    vx::ScopedDebugOutputSink scope_;
};

} // namespace vxtest
