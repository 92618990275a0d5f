#include "exporter/ExportTree.h"

#include "run/SceneContext.h"
#include "scene/MyGroupNode.h"

#include <utility>

namespace vx {

ExportTree::ExportTree(MyGroupNode* root)
    : root_(root)
{
    if (root_)
        root_->Retain();
}

ExportTree::ExportTree(ExportTree&& other) noexcept
    : root_(std::exchange(other.root_, nullptr))
{
}

ExportTree& ExportTree::operator=(ExportTree&& other) noexcept
{
    if (this != &other) {
        Release();
        root_ = std::exchange(other.root_, nullptr);
    }
    return *this;
}

ExportTree::~ExportTree()
{
    Release();
}

int32_t ExportTree::CountNodes() const
{
    return root_ ? vx::CountNodes(root_) : 1;
}

void ExportTree::Release()
{
    if (!root_)
        return;
    if (SceneContext* context = CurrentSceneContext())
        context->referencedNodes.clear();
    std::exchange(root_, nullptr)->Release();
}

ExportTree BuildExportTree(HostNode* hostRoot)
{
    ExportTree tree(new MyGroupNode());
    if (hostRoot)
        tree.Root()->Build(hostRoot);
    return tree;
}

} // namespace vx
