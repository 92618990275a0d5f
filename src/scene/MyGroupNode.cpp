#include "scene/MyGroupNode.h"

#include "scene/ConversionGuard.h"
#include "scene/GroupNodeConversion.h"

#include "base/Assert.h"
#include "host/HostNode.h"

namespace vx {

void MyGroupNode::Convert(ZR::CompositeObject* target, bool single, const HostMatrix3& parent)
{
    if (!VX_ASSERT_TEXT(GetHostNode(), "GetHostNode()"))
        return;
    TickNodeProgress();
    const ConversionGuard guard(this);
    ConvertGroupNode(*this, target, single, GetHostNode()->GetNodeTM(0), parent);
}

void MyGroupNode::ConvertWithTransform(
    ZR::CompositeObject* target, bool, const HostMatrix3& transform, const StrongNode&)
{
    if (!VX_ASSERT_TEXT(GetHostNode(), "GetHostNode()"))
        return;
    const ConversionGuard guard(this);
    // The children keep their place relative to this group and move with the copy at transform:
    // child x inverse(frame) = child x inverse(group) x transform.
    const HostMatrix3 frame = Inverse(transform) * GetHostNode()->GetNodeTM(0);
    ConvertChildren(target, false, frame);
}

} // namespace vx
