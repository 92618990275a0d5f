#pragma once
// The export node tree of a run: the nodes that mirror the host scene and convert themselves into
// the design. Until the scene collection builds nodes for the host's nodes, a run's tree is its
// root group alone, without children.

#include <cstdint>

namespace vx {

class HostNode;

class ExportTree {
public:
    // The number of export nodes in the tree, the root included.
    int32_t CountNodes() const { return 1; }
};

// Builds the export tree of the scene under hostRoot (the host's root node; null gives the same
// empty tree). Today the tree is the root group only.
ExportTree BuildExportTree(HostNode* hostRoot);

} // namespace vx
