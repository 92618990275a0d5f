#pragma once
// The element structure of a model description text: nested elements with attributes and text,
// without declarations, comments or processing instructions (the writer never makes those).

#include <string>
#include <utility>
#include <vector>

namespace vxinfo {

struct MarkupElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes; // values with entities resolved
    std::vector<MarkupElement> children;
    std::string text; // the character content directly inside, entities resolved

    // The value of attribute key, or nullptr.
    const std::string* Attribute(const std::string& key) const;
};

struct MarkupResult {
    bool ok = false;
    MarkupElement root;
    std::string error; // when !ok: what is wrong and at which character offset
};

// Parses text as exactly one element (white space around it is allowed). Fails on an unclosed or
// mismatched tag, a malformed attribute, an unknown entity, or text outside the element.
MarkupResult ParseMarkup(const std::string& text);

} // namespace vxinfo
