#pragma once
// A small JSON Schema checker for the tests: it knows the keywords that docs/scene-format.schema.json
// uses (type, const, enum, properties, required, additionalProperties, items, minItems, maxItems,
// minimum, maximum, exclusiveMinimum, oneOf, and $ref into #/$defs) and refuses any other keyword,
// so that the schema cannot silently grow beyond what is checked.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace vxtest {

// The violations of document against schema, each "pointer: what"; empty when it conforms. Throws
// std::runtime_error for a keyword outside the list above or a $ref that does not resolve.
std::vector<std::string> CheckAgainstSchema(const nlohmann::json& schema, const nlohmann::json& document);

} // namespace vxtest
