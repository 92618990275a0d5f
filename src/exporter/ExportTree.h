#pragma once
// The export node tree of a run: the nodes that mirror the host scene and convert themselves into
// the design. The tree holds one reference to its root group node; releasing it destroys the whole
// tree and empties the scene context's referencedNodes, whose entries point into it.

#include <cstdint>

namespace vx {

class HostNode;
class MyGroupNode;

class ExportTree {
public:
    // A tree without root (counts as the root alone).
    ExportTree() = default;
    // Holds one reference to root (null gives the empty tree).
    explicit ExportTree(MyGroupNode* root);
    ExportTree(ExportTree&& other) noexcept;
    ExportTree& operator=(ExportTree&& other) noexcept;
    ExportTree(const ExportTree&) = delete;
    ExportTree& operator=(const ExportTree&) = delete;
    // Releases the root when still held.
    ~ExportTree();

    // The number of export nodes in the tree, the root included (1 without root).
    int32_t CountNodes() const;
    // The root group node; null once released or for the empty tree.
    MyGroupNode* Root() const { return root_; }
    // Releases the root (destroying the tree) and empties the current scene context's
    // referencedNodes. Does nothing the second time.
    void Release();

private:
    MyGroupNode* root_ = nullptr;
};

// Builds the export tree of the scene under hostRoot (the host's root node): a root group node
// whose host node is hostRoot, with an export node for every host node the node factory keeps.
// A null hostRoot gives a root without host node and without children.
ExportTree BuildExportTree(HostNode* hostRoot);

} // namespace vx
