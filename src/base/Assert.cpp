#include "base/Assert.h"

#include "base/DebugOutput.h"

#include <string>

namespace vx {

void ReportAssertion(const char* condition, const char* file, int line)
{
    std::string message = "Assertion failed: ";
    message += condition ? condition : "";
    message += ", file ";
    message += file ? file : "";
    message += ", line ";
    message += std::to_string(line);
    WriteDebugOutput("\r\nAssertion failed in 27to30: " + message + "\r\n");
    WriteDebugOutput("\r\n");
}

} // namespace vx
