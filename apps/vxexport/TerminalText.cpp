#include "vxexport/TerminalText.h"

namespace vx {

std::string MakePrintable(std::string_view text)
{
    std::string printable;
    printable.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            printable += '\n';
        } else if (c == '\n' || c == '\t' || (c >= 0x20 && c != 0x7F)) {
            printable += static_cast<char>(c);
        } else {
            printable += '?';
        }
    }
    return printable;
}

std::string FormatMessageBox(std::string_view caption, std::string_view text)
{
    std::string box = MakePrintable(caption) + ": " + MakePrintable(text);
    if (box.empty() || box.back() != '\n')
        box += '\n';
    return box;
}

} // namespace vx
