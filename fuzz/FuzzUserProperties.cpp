// Fuzz target: the user property text, as the typed properties and the export's line reader see
// it. The input is "key LF value LF text". Besides not crashing, a written property must read back.

#include "host/HostUserProperties.h"
#include "memoryhost/MemoryHost.h"
#include "scene/NodeProperty.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string_view TakeLine(std::string_view& input)
{
    const std::size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end);
    input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    return line;
}

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// Whether SetUserPropValue can write key so that it is found again.
bool IsWritableKey(std::string_view key)
{
    return !key.empty() && !IsBlank(key.front()) && !IsBlank(key.back())
        && key.find_first_of("=\r\n") == std::string_view::npos;
}

// value as it reads back: CR and LF become blanks, surrounding blanks go.
std::string ExpectedValue(std::string_view value)
{
    std::string text(value);
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

void CheckTypedProperties(std::string_view key, std::string_view value, std::string_view text)
{
    const auto found = vx::FindUserPropValue(text, key);
    bool flag = false;
    int number = 0;
    if (found) {
        vx::ParseUserPropBool(*found, flag);
        vx::ParseUserPropInt(*found, number);
    }
    const std::string written = vx::SetUserPropValue(text, key, value);
    if (!IsWritableKey(key)) {
        if (written != text)
            std::abort();
        return;
    }
    const auto back = vx::FindUserPropValue(written, key);
    if (!back || *back != ExpectedValue(value))
        std::abort();
}

void CheckLineReader(std::string_view key, std::string_view value, std::string_view text)
{
    vx::MemoryHost host;
    vx::MemoryNode& node = host.AddNode(host.GetRoot(), "node");
    node.SetUserPropBuffer(std::string(text));
    vx::NodeProperty property(&node);
    std::string k;
    std::string v;
    for (int i = 0; i < property.NumLines(); ++i)
        property.GetKeyValue(i, k, v);
    std::string rest;
    property.HasKey(key, rest);
    // The node's text is C text whose lines are read trimmed: a key with CR, LF or NUL, or with
    // blanks at its ends, cannot be written as a line that is found again.
    if (key.empty() || IsBlank(key.front()) || IsBlank(key.back())
        || key.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return;
    property.SetKeyValue(key, value);
    if (!vx::NodeProperty(&node).ContainsKey(key))
        std::abort();
    property.RemoveKey(key);
    if (vx::NodeProperty(&node).ContainsKey(key))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view key = TakeLine(input);
    const std::string_view value = TakeLine(input);
    CheckTypedProperties(key, value, input);
    CheckLineReader(key, value, input);
    return 0;
}
