#include "host/HostUserProperties.h"

#include <charconv>

namespace vx {

namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsValidKey(std::string_view key)
{
    return !key.empty() && Trim(key).size() == key.size()
        && key.find_first_of("=\r\n") == std::string_view::npos;
}

// Calls visit(lineStart, lineLength) for each line; the length excludes the LF and a CR before it.
// Stops when visit returns true and returns that line's start, or npos.
template <typename Visit> size_t FindLine(std::string_view text, Visit visit)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() + 1 : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        size_t length = end - start;
        if (length > 0 && text[start + length - 1] == '\r')
            --length;
        if (visit(start, length))
            return start;
        start = next;
    }
    return std::string_view::npos;
}

bool LineHasKey(std::string_view line, std::string_view key, std::string_view* value)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trim(line.substr(0, equals)) != key)
        return false;
    if (value)
        *value = Trim(line.substr(equals + 1));
    return true;
}

} // namespace

std::optional<std::string> FindUserPropValue(std::string_view text, std::string_view key)
{
    std::string_view value;
    const size_t found = FindLine(text,
        [&](size_t start, size_t length) { return LineHasKey(text.substr(start, length), key, &value); });
    if (found == std::string_view::npos)
        return std::nullopt;
    return std::string(value);
}

std::string SetUserPropValue(std::string_view text, std::string_view key, std::string_view value)
{
    if (!IsValidKey(key))
        return std::string(text);
    std::string line(key);
    line += " = ";
    for (char c : value)
        line += (c == '\r' || c == '\n') ? ' ' : c;

    size_t foundLength = 0;
    const size_t found = FindLine(text, [&](size_t start, size_t length) {
        foundLength = length;
        return LineHasKey(text.substr(start, length), key, nullptr);
    });
    std::string result;
    if (found != std::string_view::npos) {
        result.reserve(text.size() + line.size());
        result.append(text.substr(0, found));
        result += line;
        result.append(text.substr(found + foundLength));
        return result;
    }
    result.assign(text);
    if (!result.empty() && result.back() != '\n')
        result += '\n';
    result += line;
    result += '\n';
    return result;
}

bool ParseUserPropBool(std::string_view text, bool& result)
{
    auto equalsIgnoringCase = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            const char c = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
            if (c != b[i])
                return false;
        }
        return true;
    };
    if (equalsIgnoringCase(text, "true")) {
        result = true;
        return true;
    }
    if (equalsIgnoringCase(text, "false")) {
        result = false;
        return true;
    }
    int number = 0;
    if (!ParseUserPropInt(text, number))
        return false;
    result = number != 0;
    return true;
}

bool ParseUserPropInt(std::string_view text, int& result)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return false;
    result = number;
    return true;
}

} // namespace vx
