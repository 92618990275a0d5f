#pragma once
// Texts from the exporter and the scene as they are printed on a terminal.

#include <string>
#include <string_view>

namespace vx {

// text with its line breaks as "\n" (CR LF and a lone CR each become one "\n") and every other
// control character (including ESC, so no escape sequence from a scene name reaches the terminal)
// shown as '?'. Tabs are kept.
std::string MakePrintable(std::string_view text);

// A message box as printed: "<caption>: <text>" with printable line breaks, ending in "\n".
std::string FormatMessageBox(std::string_view caption, std::string_view text);

} // namespace vx
