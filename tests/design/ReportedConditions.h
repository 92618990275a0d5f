#pragma once
// The conditions of the assertion reports in a captured debugger output, in order, each checked for
// the exact report framing.

#include <string>
#include <vector>

namespace vxtest {

// Splits text into assertion reports ("\r\nAssertion failed in 27to30: Assertion failed: <condition>,
// file <file>, line <n>\r\n\r\n") and returns the conditions. Text that is not made of such reports
// gives the marker "<malformed>" in its place.
inline std::vector<std::string> ReportedConditions(const std::string& text)
{
    static const std::string head = "\r\nAssertion failed in 27to30: Assertion failed: ";
    std::vector<std::string> conditions;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t file = text.find(", file ", at);
        const std::size_t line = text.find(", line ", file);
        const std::size_t end = text.find("\r\n\r\n", line);
        if (text.compare(at, head.size(), head) != 0 || file == std::string::npos || line == std::string::npos
            || end == std::string::npos) {
            conditions.push_back("<malformed>");
            break;
        }
        conditions.push_back(text.substr(at + head.size(), file - at - head.size()));
        at = end + 4;
    }
    return conditions;
}

} // namespace vxtest
