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
    ConvertGroupNode(*this, target, single, GetHostNode()->GetObjectTM(0), parent);
}

void MyGroupNode::ConvertWithTransform(ZR::CompositeObject* target, bool, const HostMatrix3& transform)
{
    const ConversionGuard guard(this);
    ConvertChildren(target, false, transform);
}

} // namespace vx
