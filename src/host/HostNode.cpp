#include "host/HostNode.h"

#include "host/HostUserProperties.h"

#include <string>

namespace vx {

bool HostNode::GetUserPropString(std::string_view key, std::string& value) const
{
    auto found = FindUserPropValue(GetUserPropBuffer(), key);
    if (!found)
        return false;
    value = std::move(*found);
    return true;
}

bool HostNode::GetUserPropInt(std::string_view key, int& value) const
{
    const auto found = FindUserPropValue(GetUserPropBuffer(), key);
    return found && ParseUserPropInt(*found, value);
}

bool HostNode::GetUserPropBool(std::string_view key, bool& value) const
{
    const auto found = FindUserPropValue(GetUserPropBuffer(), key);
    return found && ParseUserPropBool(*found, value);
}

void HostNode::SetUserPropString(std::string_view key, std::string_view value)
{
    const std::string text = SetUserPropValue(GetUserPropBuffer(), key, value);
    SetUserPropBuffer(text.c_str());
}

void HostNode::SetUserPropInt(std::string_view key, int value)
{
    SetUserPropString(key, std::to_string(value));
}

void HostNode::SetUserPropBool(std::string_view key, bool value)
{
    SetUserPropString(key, value ? "true" : "false");
}

} // namespace vx
