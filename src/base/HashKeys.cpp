#include "base/HashKeys.h"

#include "base/Crc32.h"

#include <cstring>

namespace vx {

uint32_t TextHash(const char* text)
{
    uint32_t hash = 7;
    if (!text)
        return hash;
    for (; *text; ++text)
        hash = hash * 31u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(*text)));
    return hash;
}

int HashKeyTraits<std::string>::Compare(const std::string& a, const std::string& b)
{
    return std::strcmp(a.c_str(), b.c_str());
}

uint32_t HashKeyTraits<TextIntKey>::Hash(const TextIntKey& key)
{
    return Crc32OfText(key.text.c_str()) + static_cast<uint32_t>(key.number);
}

// Texts as zero-terminated texts, then the numbers; the numbers are compared, not subtracted,
// so that far-apart values cannot overflow into the wrong order.
int HashKeyTraits<TextIntKey>::Compare(const TextIntKey& a, const TextIntKey& b)
{
    const int byText = std::strcmp(a.text.c_str(), b.text.c_str());
    if (byText != 0)
        return byText;
    return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
}

} // namespace vx
