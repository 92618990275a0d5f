#include "JsonSchemaCheck.h"

#include <stdexcept>

namespace vxtest {

namespace {

using nlohmann::json;

class SchemaChecker {
public:
    explicit SchemaChecker(const json& root)
        : root_(root)
    {
    }

    void Check(const json& schema, const json& value, const std::string& pointer,
        std::vector<std::string>& errors) const
    {
        for (const auto& [keyword, argument] : schema.items()) {
            if (keyword == "$schema" || keyword == "$id" || keyword == "title" || keyword == "description"
                || keyword == "$defs")
                continue;
            if (keyword == "$ref")
                Check(Resolve(argument.get<std::string>()), value, pointer, errors);
            else if (keyword == "type")
                CheckType(argument, value, pointer, errors);
            else if (keyword == "const") {
                if (value != argument)
                    errors.push_back(pointer + ": must be " + argument.dump());
            } else if (keyword == "enum") {
                bool found = false;
                for (const json& option : argument)
                    found = found || option == value;
                if (!found)
                    errors.push_back(pointer + ": " + value.dump() + " is not one of " + argument.dump());
            } else if (keyword == "properties") {
                if (value.is_object())
                    for (const auto& [name, propertySchema] : argument.items())
                        if (value.contains(name))
                            Check(propertySchema, value[name], pointer + "/" + name, errors);
            } else if (keyword == "required") {
                if (value.is_object())
                    for (const json& name : argument)
                        if (!value.contains(name.get<std::string>()))
                            errors.push_back(pointer + ": lacks " + name.get<std::string>());
            } else if (keyword == "additionalProperties") {
                if (!value.is_object())
                    continue;
                const json& known = schema.contains("properties") ? schema["properties"] : json::object();
                for (const auto& [name, member] : value.items()) {
                    if (known.contains(name))
                        continue;
                    if (argument.is_boolean()) {
                        if (!argument.get<bool>())
                            errors.push_back(pointer + "/" + name + ": not allowed");
                    } else {
                        Check(argument, member, pointer + "/" + name, errors);
                    }
                }
            } else if (keyword == "items") {
                if (value.is_array())
                    for (size_t i = 0; i < value.size(); ++i)
                        Check(argument, value[i], pointer + "/" + std::to_string(i), errors);
            } else if (keyword == "minItems") {
                if (value.is_array() && value.size() < argument.get<size_t>())
                    errors.push_back(pointer + ": too few items");
            } else if (keyword == "maxItems") {
                if (value.is_array() && value.size() > argument.get<size_t>())
                    errors.push_back(pointer + ": too many items");
            } else if (keyword == "minimum") {
                if (value.is_number() && value.get<double>() < argument.get<double>())
                    errors.push_back(pointer + ": below " + argument.dump());
            } else if (keyword == "maximum") {
                if (value.is_number() && value.get<double>() > argument.get<double>())
                    errors.push_back(pointer + ": above " + argument.dump());
            } else if (keyword == "exclusiveMinimum") {
                if (value.is_number() && value.get<double>() <= argument.get<double>())
                    errors.push_back(pointer + ": not above " + argument.dump());
            } else if (keyword == "oneOf") {
                int matches = 0;
                for (const json& option : argument) {
                    std::vector<std::string> optionErrors;
                    Check(option, value, pointer, optionErrors);
                    matches += optionErrors.empty() ? 1 : 0;
                }
                if (matches != 1)
                    errors.push_back(
                        pointer + ": matches " + std::to_string(matches) + " of the oneOf options");
            } else {
                throw std::runtime_error("the schema checker does not know the keyword " + keyword);
            }
        }
    }

private:
    const json& Resolve(const std::string& reference) const
    {
        const std::string prefix = "#/$defs/";
        if (reference.rfind(prefix, 0) != 0 || !root_["$defs"].contains(reference.substr(prefix.size())))
            throw std::runtime_error("unresolved $ref " + reference);
        return root_["$defs"][reference.substr(prefix.size())];
    }

    static bool HasType(const std::string& type, const json& value)
    {
        if (type == "object")
            return value.is_object();
        if (type == "array")
            return value.is_array();
        if (type == "string")
            return value.is_string();
        if (type == "boolean")
            return value.is_boolean();
        if (type == "null")
            return value.is_null();
        if (type == "integer")
            return value.is_number_integer();
        if (type == "number")
            return value.is_number();
        throw std::runtime_error("unknown type " + type);
    }

    static void CheckType(
        const json& argument, const json& value, const std::string& pointer, std::vector<std::string>& errors)
    {
        bool ok = false;
        if (argument.is_array()) {
            for (const json& type : argument)
                ok = ok || HasType(type.get<std::string>(), value);
        } else {
            ok = HasType(argument.get<std::string>(), value);
        }
        if (!ok)
            errors.push_back(pointer + ": is not of type " + argument.dump());
    }

    const json& root_;
};

} // namespace

std::vector<std::string> CheckAgainstSchema(const nlohmann::json& schema, const nlohmann::json& document)
{
    std::vector<std::string> errors;
    SchemaChecker(schema).Check(schema, document, "", errors);
    return errors;
}

} // namespace vxtest
