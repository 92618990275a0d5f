#pragma once
// Assertion report: a violated precondition is reported to the debugger output and processing
// goes on. The check evaluates to the condition's truth so that the caller can skip the work
// that the broken precondition would make unsafe (an out-of-bounds read or write, say).

namespace vx {

// Writes "\r\nAssertion failed in 27to30: Assertion failed: <condition>, file .\<name>, line <line>\r\n"
// followed by "\r\n" to the debugger output; <name> is file without its folders.
void ReportAssertion(const char* condition, const char* file, int line);

inline bool CheckAssertion(bool holds, const char* condition, const char* file, int line)
{
    if (!holds)
        ReportAssertion(condition, file, line);
    return holds;
}

} // namespace vx

// VX_ASSERT(cond): reports the condition as written in the source when it is false.
#define VX_ASSERT(cond) ::vx::CheckAssertion(static_cast<bool>(cond), #cond, __FILE__, __LINE__)

// VX_ASSERT_TEXT(cond, text): as VX_ASSERT, but reports the given condition text. Used where the
// reported text is fixed and the C++ expression that checks it reads differently.
#define VX_ASSERT_TEXT(cond, text) ::vx::CheckAssertion(static_cast<bool>(cond), text, __FILE__, __LINE__)
