#include "scene/BaseNode.h"

#include "base/Assert.h"
#include "host/Host.h"
#include "run/ExportRunState.h"
#include "run/NodeProgressHook.h"
#include "run/SceneContext.h"

namespace vx {

BaseNode::BaseNode()
{
    if (SceneContext* context = CurrentSceneContext())
        ++context->liveNodeCount;
}

BaseNode::~BaseNode()
{
    if (SceneContext* context = CurrentSceneContext())
        --context->liveNodeCount;
}

int32_t BaseNode::Retain()
{
    return ++refCount_;
}

int32_t BaseNode::Release()
{
    if (!VX_ASSERT_TEXT(refCount_ > 0, "refCount>0"))
        return refCount_;
    const int32_t count = --refCount_;
    if (count == 0)
        Destroy();
    return count;
}

void BaseNode::Convert(ZR::CompositeObject*, bool, const HostMatrix3&) { }

void BaseNode::ConvertWithTransform(ZR::CompositeObject*, bool, const HostMatrix3&, const StrongNode&) { }

void BaseNode::Destroy()
{
    delete this;
}

void TickNodeProgress()
{
    if (NodeProgressFunction hook = NodeProgressHook())
        hook();
}

bool IsExportCancelled()
{
    ExportRunState* exporter = CurrentExporter();
    return exporter && exporter->host && exporter->host->GetCancel();
}

} // namespace vx
