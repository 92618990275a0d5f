#include "scenefile/SceneJsonLayout.h"

#include <algorithm>

namespace vx {

namespace {

using Json = nlohmann::ordered_json;

std::string DumpPlain(const Json& value)
{
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool IsPlain(const Json& value)
{
    return !value.is_structured() || value.empty();
}

void Append(std::string& out, const Json& value, int depth)
{
    const std::string inner(size_t(depth + 1) * 2, ' ');
    const std::string outer(size_t(depth) * 2, ' ');
    if (IsPlain(value)) {
        out += DumpPlain(value);
    } else if (value.is_array() && std::all_of(value.begin(), value.end(), IsPlain)) {
        out += DumpPlain(value);
    } else if (value.is_array()) {
        out += "[\n";
        for (auto it = value.begin(); it != value.end(); ++it) {
            out += inner;
            Append(out, *it, depth + 1);
            out += std::next(it) == value.end() ? "\n" : ",\n";
        }
        out += outer + "]";
    } else {
        out += "{\n";
        for (auto it = value.begin(); it != value.end(); ++it) {
            out += inner + DumpPlain(Json(it.key())) + ": ";
            Append(out, it.value(), depth + 1);
            out += std::next(it) == value.end() ? "\n" : ",\n";
        }
        out += outer + "}";
    }
}

} // namespace

std::string FormatSceneJson(const nlohmann::ordered_json& document)
{
    std::string out;
    Append(out, document, 0);
    out += '\n';
    return out;
}

} // namespace vx
