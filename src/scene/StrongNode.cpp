#include "scene/StrongNode.h"

#include "scene/NodeFactory.h"

#include "base/Assert.h"
#include "host/HostNode.h"

namespace vx {

void StrongNode::Build(HostNode* hostNode)
{
    if (!VX_ASSERT_TEXT(hostNode, "hostNode"))
        return;
    hostNode_ = hostNode;
    const int count = hostNode->NumberOfChildren();
    for (int i = 0; i < count; ++i) {
        BaseNode* child = CreateExportNode(hostNode->GetChildNode(i));
        if (!child)
            continue;
        children_.Append(child);
        child->Retain();
    }
}

bool StrongNode::SetCompId(const char* text)
{
    DUniqueID parsed;
    if (!parsed.FromString(text))
        return false;
    compId_ = parsed;
    hasCompId_ = true;
    return true;
}

std::string StrongNode::GetName() const
{
    return hostNode_ ? hostNode_->GetName() : std::string();
}

BaseNode* StrongNode::GetChild(uint32_t index) const
{
    return index < children_.Count() ? children_[index] : nullptr;
}

void StrongNode::Convert(ZR::CompositeObject*, bool, const HostMatrix3&)
{
    TickNodeProgress();
}

bool StrongNode::ConvertChildren(ZR::CompositeObject* target, bool single, const HostMatrix3& parent)
{
    for (BaseNode* child : children_) {
        child->Convert(target, single, parent);
        if (IsExportCancelled())
            return false;
    }
    return true;
}

void StrongNode::Destroy()
{
    for (BaseNode* child : children_)
        child->Release();
    children_.Clear();
    hostNode_ = nullptr;
    BaseNode::Destroy();
}

int32_t CountNodes(const BaseNode* node)
{
    if (!node)
        return 0;
    int32_t count = 1;
    if (const auto* strong = dynamic_cast<const StrongNode*>(node)) {
        for (uint32_t i = 0; i < strong->NumChildren(); ++i)
            count += CountNodes(strong->GetChild(i));
    }
    return count;
}

} // namespace vx
