#include "materials/SanitizeName.h"

#include <cstring>

namespace vx {

FixedString SanitizeName(const char* text)
{
    const FixedString copy(text);
    const auto* bytes = reinterpret_cast<const unsigned char*>(copy.c_str());
    std::size_t begin = 0;
    std::size_t end = std::strlen(copy.c_str());
    while (begin < end && bytes[begin] <= 32)
        ++begin;
    while (end > begin && bytes[end - 1] <= 32)
        --end;
    FixedString clean;
    char* out = clean.Buffer();
    std::size_t n = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const unsigned char c = bytes[i];
        out[n++] = c < 32 ? '_' : (c >= 128 ? '?' : static_cast<char>(c));
    }
    out[n] = '\0';
    return clean;
}

} // namespace vx
