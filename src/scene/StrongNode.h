#pragma once
// StrongNode: an export node that stands for one host node. It holds its children (one reference
// each, in the host's order) and, once the factory found one, a composite identifier.

#include "scene/BaseNode.h"

#include "base/Array.h"
#include "base/UniqueId.h"

#include <cstdint>
#include <string>

namespace vx {

class HostNode;

class StrongNode : public BaseNode {
public:
    StrongNode() = default;

    // Takes hostNode as the node's host node, then asks the node factory for an export node for each
    // of its children in order and holds every one that comes back (the factory builds each child's
    // subtree first). A null hostNode is reported ("hostNode") and builds nothing.
    void Build(HostNode* hostNode);

    // Parses text as a composite identifier; on success stores it and returns true. A text that
    // does not parse (or null) leaves the node as it was and returns false.
    bool SetCompId(const char* text);
    bool HasCompId() const { return hasCompId_; }
    // The composite identifier; Null until SetCompId succeeded.
    const DUniqueID& GetCompId() const { return compId_; }

    // The host node's name; "" without host node.
    std::string GetName() const;
    // The host node, or null before Build.
    HostNode* GetHostNode() const { return hostNode_; }

    uint32_t NumChildren() const { return children_.Count(); }
    // The child at index; null out of range.
    BaseNode* GetChild(uint32_t index) const;

    // Progress tick only: the node converts nothing, nor do its children.
    void Convert(ZR::CompositeObject* target, bool single, const HostMatrix3& parent) override;

    // Converts every child into target with parent as the frame, in order, stopping when the user
    // cancels. Returns false when cancelled.
    bool ConvertChildren(ZR::CompositeObject* target, bool single, const HostMatrix3& parent);

protected:
    // Releases the children from the first to the last, then deletes the node.
    void Destroy() override;

private:
    bool hasCompId_ = false;
    HostNode* hostNode_ = nullptr;
    DUniqueID compId_;
    Array<BaseNode*> children_;
};

// The number of export nodes in the subtree of node, node included; 0 for null.
int32_t CountNodes(const BaseNode* node);

} // namespace vx
