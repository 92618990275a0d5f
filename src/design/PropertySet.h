#pragma once
// PropertySet: what the design says about a record beyond its geometry and placement, in three maps
// keyed by PropertyKey (name, type code). The database writer walks each map in its iteration order.

#include "base/HashMap.h"
#include "design/PropertyKey.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ZR {

struct PropertySet {
    // Sets the Texts entry of key to text (adding or replacing).
    void SetText(const PropertyKey& key, std::string_view text);
    // The text stored under key, or null when Texts has no such entry.
    const std::string* FindText(const PropertyKey& key) const { return Texts.GetPtr(key); }
    // Adds key to Flags (value 0); a key present already keeps its value.
    void SetFlag(const PropertyKey& key) { Flags.Insert(key); }
    // Sets the Files entry of key to the path of the file whose bytes are the value.
    void SetFile(const PropertyKey& key, std::string_view path);

    // Keys only: the value is kept but never written.
    vx::HashMap<PropertyKey, int32_t> Flags;
    // Key to text value (empty texts are written as NULL).
    vx::HashMap<PropertyKey, std::string> Texts;
    // Key to the path of a file whose bytes are the value (never cut).
    vx::HashMap<PropertyKey, std::string> Files;
};

} // namespace ZR
