#pragma once
// Reading the user's answers from a terminal while Ctrl-C stays able to end the wait.

#include <optional>
#include <string>

namespace vx {

// Reads one line from fd (without its line break). Returns nullopt at the end of input, on a read
// error, or as soon as wakeFd becomes readable (Ctrl-C; -1 for none). A line longer than 4096
// bytes is cut there (the rest of it is read and dropped).
std::optional<std::string> ReadTerminalLine(int fd, int wakeFd);

} // namespace vx
