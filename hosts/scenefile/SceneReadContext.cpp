#include "scenefile/SceneReadContext.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace vx {

SceneReadContext::SceneReadContext(std::string file, const SceneLoadLimits& limits, MemoryHost& host)
    : reader(file)
    , limits(limits)
    , host(host)
{
    std::error_code ignored;
    folder_ = std::filesystem::absolute(std::filesystem::path(file), ignored).parent_path();
}

void SceneReadContext::ChargeArray(std::uint64_t items, std::uint64_t itemBytes, const std::string& pointer)
{
    if (items > limits.maxArrayItems)
        reader.Fail(SceneLoadErrorKind::SizeLimit, pointer,
            "the array has " + std::to_string(items) + " items; at most "
                + std::to_string(limits.maxArrayItems) + " are allowed");
    const bool overflows = itemBytes != 0 && items > UINT64_MAX / itemBytes;
    const std::uint64_t bytes = overflows ? UINT64_MAX : items * itemBytes;
    if (bytes > limits.maxSceneArrayBytes || arrayBytes_ > limits.maxSceneArrayBytes - bytes)
        reader.Fail(SceneLoadErrorKind::SizeLimit, pointer,
            "the scene's arrays would need more than " + std::to_string(limits.maxSceneArrayBytes)
                + " bytes of memory");
    arrayBytes_ += bytes;
}

std::string SceneReadContext::ResolvePath(const std::string& text) const
{
    if (text.empty())
        return text;
    std::string portable = text;
    std::replace(portable.begin(), portable.end(), '\\', '/');
    std::filesystem::path path(portable);
    if (path.is_relative())
        path = folder_ / path;
    return path.lexically_normal().string();
}

std::string SceneReadContext::ResolveImagePath(const std::string& text) const
{
    const bool drive = text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':'
        && (text[2] == '\\' || text[2] == '/');
    const bool network = text.size() >= 2 && text[0] == '\\' && text[1] == '\\';
    return drive || network ? text : ResolvePath(text);
}

} // namespace vx
