#pragma once
// Typed reading of a parsed scene file: every value is taken with its JSON Pointer, and every fault
// (missing or unknown field, wrong type, value out of range, non-finite number) fails the load with
// that location.

#include "host/HostMath.h"
#include "host/HostTypes.h"
#include "scenefile/SceneLoadError.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

using Json = nlohmann::json;

// Thrown inside the loader to abandon the load; LoadSceneFile turns it into its result.
class SceneLoadFailure : public std::exception {
public:
    explicit SceneLoadFailure(SceneLoadError error)
        : error_(std::move(error))
    {
    }
    const char* what() const noexcept override { return error_.message.c_str(); }
    const SceneLoadError& GetError() const { return error_; }

private:
    SceneLoadError error_;
};

// A JSON value and its JSON Pointer.
struct JsonAt {
    const Json& value;
    std::string pointer;
};

// The pointer of a field or an element below base (field names escaped as JSON Pointer demands).
std::string AppendPointer(const std::string& base, std::string_view field);
std::string AppendPointer(const std::string& base, size_t index);

class JsonReader {
public:
    explicit JsonReader(std::string file)
        : file_(std::move(file))
    {
    }
    const std::string& GetFile() const { return file_; }

    // Abandons the load with an error at pointer in this reader's file.
    [[noreturn]] void Fail(SceneLoadErrorKind kind, const std::string& pointer, std::string message) const;
    // The same for another file (a side file).
    [[noreturn]] static void FailIn(
        const std::string& file, SceneLoadErrorKind kind, const std::string& pointer, std::string message);

    // at must be an object whose fields are all among allowed.
    void RequireObject(const JsonAt& at, std::initializer_list<std::string_view> allowed) const;
    // A field of an object (checked with RequireObject first), or nothing.
    std::optional<JsonAt> FindField(const JsonAt& object, std::string_view name) const;
    // A field that must be present.
    JsonAt GetField(const JsonAt& object, std::string_view name) const;
    // at must be an array; returns its size. Elements are taken with GetElement.
    size_t RequireArray(const JsonAt& at) const;
    JsonAt GetElement(const JsonAt& array, size_t index) const;

    // Scalars. Text may not hold NUL characters. Numbers must be finite; floats must also fit a
    // 32-bit float. Integers must be JSON integers within [min, max].
    std::string ReadString(const JsonAt& at) const;
    bool ReadBool(const JsonAt& at) const;
    double ReadNumber(const JsonAt& at) const;
    float ReadFloat(const JsonAt& at) const;
    float ReadFloatIn(const JsonAt& at, float min, float max) const;
    std::int64_t ReadInteger(const JsonAt& at, std::int64_t min, std::int64_t max) const;
    std::uint64_t ReadUnsigned(const JsonAt& at, std::uint64_t max) const;
    // [x, y, z]; [r, g, b].
    HostPoint3 ReadPoint3(const JsonAt& at) const;
    HostColor ReadColor(const JsonAt& at) const;
    // [x, y, z, w], not all zero; returned normalised.
    HostQuat ReadQuat(const JsonAt& at) const;

    // A JSON type's name for messages ("a string", "an array"...).
    static const char* GetTypeName(const Json& value);

private:
    [[noreturn]] void FailType(const JsonAt& at, const char* expected) const;

    std::string file_;
};

} // namespace vx
