#include "base/Assert.h"

#include "base/DebugOutput.h"

#include <string>

namespace vx {

namespace {

// The source as the report names it: ".\" and the file's own name, never the folders of the
// machine that built the program.
std::string ReportedSource(const char* file)
{
    const std::string path = file ? file : "";
    const std::size_t slash = path.find_last_of("/\\");
    return ".\\" + (slash == std::string::npos ? path : path.substr(slash + 1));
}

} // namespace

void ReportAssertion(const char* condition, const char* file, int line)
{
    std::string message = "Assertion failed: ";
    message += condition ? condition : "";
    message += ", file ";
    message += ReportedSource(file);
    message += ", line ";
    message += std::to_string(line);
    WriteDebugOutput("\r\nAssertion failed in 27to30: " + message + "\r\n");
    WriteDebugOutput("\r\n");
}

} // namespace vx
