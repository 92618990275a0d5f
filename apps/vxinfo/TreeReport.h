#pragma once
// The instance tree of a design database: from the root record down through the instances of each
// placed object, with names, placements and the properties of each instance.

#include "vxinfo/DesignContent.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace vxinfo {

struct TreeProperty {
    std::string name;
    int64_t type = 0;
    std::optional<std::string> value; // text value; none for flags and group memberships
    int64_t binarySize = 0;
};

struct TreeNode {
    Luid instance = 0; // 0 for the root record
    std::string name; // instance name
    Luid object = 0;
    std::string objectName;
    StoredPlacement placement;
    std::vector<TreeProperty> properties;
    std::vector<TreeNode> children;
    bool cut = false; // children not shown: depth limit reached, or the object places itself
};

// The tree from the first root record (nothing when there is none). maxDepth limits the levels
// below the root (negative: no limit); an object already on the path is not entered again.
std::optional<TreeNode> BuildInstanceTree(const DesignContent& content, int maxDepth);

// The tree as indented lines / as nested JSON objects.
std::string FormatTree(const TreeNode& root);
nlohmann::json TreeJson(const TreeNode& root);

} // namespace vxinfo
