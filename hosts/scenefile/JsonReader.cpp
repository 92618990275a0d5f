#include "scenefile/JsonReader.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

namespace vx {

namespace {

std::string FormatNumber(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

std::string AppendPointer(const std::string& base, std::string_view field)
{
    std::string pointer = base;
    pointer += '/';
    for (char c : field) {
        if (c == '~')
            pointer += "~0";
        else if (c == '/')
            pointer += "~1";
        else
            pointer += c;
    }
    return pointer;
}

std::string AppendPointer(const std::string& base, size_t index)
{
    return base + "/" + std::to_string(index);
}

void JsonReader::Fail(SceneLoadErrorKind kind, const std::string& pointer, std::string message) const
{
    FailIn(file_, kind, pointer, std::move(message));
}

void JsonReader::FailIn(
    const std::string& file, SceneLoadErrorKind kind, const std::string& pointer, std::string message)
{
    SceneLoadError error;
    error.kind = kind;
    error.file = file;
    error.location = pointer;
    error.message = std::move(message);
    throw SceneLoadFailure(std::move(error));
}

const char* JsonReader::GetTypeName(const Json& value)
{
    switch (value.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::object:
        return "an object";
    case Json::value_t::array:
        return "an array";
    case Json::value_t::string:
        return "a string";
    case Json::value_t::boolean:
        return "a boolean";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
        return "an integer";
    case Json::value_t::number_float:
        return "a number";
    default:
        return "an unsupported value";
    }
}

void JsonReader::FailType(const JsonAt& at, const char* expected) const
{
    Fail(SceneLoadErrorKind::WrongType, at.pointer,
        std::string("expected ") + expected + ", found " + GetTypeName(at.value));
}

void JsonReader::RequireObject(const JsonAt& at, std::initializer_list<std::string_view> allowed) const
{
    if (!at.value.is_object())
        FailType(at, "an object");
    for (const auto& [name, value] : at.value.items()) {
        bool known = false;
        for (std::string_view candidate : allowed)
            known = known || candidate == name;
        if (!known)
            Fail(SceneLoadErrorKind::UnknownField, AppendPointer(at.pointer, name),
                "unknown field \"" + name + "\"");
    }
}

std::optional<JsonAt> JsonReader::FindField(const JsonAt& object, std::string_view name) const
{
    const auto found = object.value.find(name);
    if (found == object.value.end())
        return std::nullopt;
    return JsonAt {*found, AppendPointer(object.pointer, name)};
}

JsonAt JsonReader::GetField(const JsonAt& object, std::string_view name) const
{
    auto found = FindField(object, name);
    if (!found)
        Fail(SceneLoadErrorKind::MissingField, object.pointer,
            "the required field \"" + std::string(name) + "\" is missing");
    return std::move(*found);
}

size_t JsonReader::RequireArray(const JsonAt& at) const
{
    if (!at.value.is_array())
        FailType(at, "an array");
    return at.value.size();
}

JsonAt JsonReader::GetElement(const JsonAt& array, size_t index) const
{
    return JsonAt {array.value[index], AppendPointer(array.pointer, index)};
}

std::string JsonReader::ReadString(const JsonAt& at) const
{
    if (!at.value.is_string())
        FailType(at, "a string");
    const std::string& text = at.value.get_ref<const std::string&>();
    if (text.find('\0') != std::string::npos)
        Fail(SceneLoadErrorKind::InvalidValue, at.pointer, "the text holds a NUL character");
    return text;
}

bool JsonReader::ReadBool(const JsonAt& at) const
{
    if (!at.value.is_boolean())
        FailType(at, "a boolean");
    return at.value.get<bool>();
}

double JsonReader::ReadNumber(const JsonAt& at) const
{
    if (!at.value.is_number())
        FailType(at, "a number");
    const double value = at.value.get<double>();
    if (!std::isfinite(value))
        Fail(SceneLoadErrorKind::NonFinite, at.pointer, "the number is not finite");
    return value;
}

float JsonReader::ReadFloat(const JsonAt& at) const
{
    const double value = ReadNumber(at);
    if (std::abs(value) > FLT_MAX)
        Fail(SceneLoadErrorKind::NonFinite, at.pointer, "the number is not finite as a 32-bit float");
    return static_cast<float>(value);
}

float JsonReader::ReadFloatIn(const JsonAt& at, float min, float max) const
{
    const float value = ReadFloat(at);
    if (value < min || value > max)
        Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
            "the value " + FormatNumber(value) + " is outside " + FormatNumber(min) + " ... "
                + FormatNumber(max));
    return value;
}

std::int64_t JsonReader::ReadInteger(const JsonAt& at, std::int64_t min, std::int64_t max) const
{
    if (at.value.is_number_float()) {
        ReadNumber(at); // a non-finite number is reported as such
        FailType(at, "an integer");
    }
    if (at.value.is_number_unsigned()) {
        const auto value = at.value.get<std::uint64_t>();
        if (max < 0 || value > static_cast<std::uint64_t>(max)
            || (min > 0 && value < static_cast<std::uint64_t>(min)))
            Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
                "the value " + std::to_string(value) + " is outside " + std::to_string(min) + " ... "
                    + std::to_string(max));
        return static_cast<std::int64_t>(value);
    }
    if (!at.value.is_number_integer())
        FailType(at, "an integer");
    const auto value = at.value.get<std::int64_t>();
    if (value < min || value > max)
        Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
            "the value " + std::to_string(value) + " is outside " + std::to_string(min) + " ... "
                + std::to_string(max));
    return value;
}

std::uint64_t JsonReader::ReadUnsigned(const JsonAt& at, std::uint64_t max) const
{
    if (at.value.is_number_float()) {
        ReadNumber(at);
        FailType(at, "an integer");
    }
    if (at.value.is_number_integer() && !at.value.is_number_unsigned())
        Fail(SceneLoadErrorKind::InvalidValue, at.pointer, "the value may not be negative");
    if (!at.value.is_number_unsigned())
        FailType(at, "an integer");
    const auto value = at.value.get<std::uint64_t>();
    if (value > max)
        Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
            "the value " + std::to_string(value) + " is larger than " + std::to_string(max));
    return value;
}

HostPoint3 JsonReader::ReadPoint3(const JsonAt& at) const
{
    if (RequireArray(at) != 3)
        Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
            "expected 3 numbers, found " + std::to_string(at.value.size()));
    return {ReadFloat(GetElement(at, 0)), ReadFloat(GetElement(at, 1)), ReadFloat(GetElement(at, 2))};
}

HostColor JsonReader::ReadColor(const JsonAt& at) const
{
    const HostPoint3 p = ReadPoint3(at);
    return {p.x, p.y, p.z};
}

HostQuat JsonReader::ReadQuat(const JsonAt& at) const
{
    if (RequireArray(at) != 4)
        Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
            "expected 4 numbers (x, y, z, w), found " + std::to_string(at.value.size()));
    double q[4];
    for (size_t i = 0; i < 4; ++i)
        q[i] = ReadFloat(GetElement(at, i));
    const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (length < 1e-12)
        Fail(SceneLoadErrorKind::InvalidValue, at.pointer, "a rotation quaternion may not be zero");
    return {static_cast<float>(q[0] / length), static_cast<float>(q[1] / length),
        static_cast<float>(q[2] / length), static_cast<float>(q[3] / length)};
}

} // namespace vx
