#include "scene/MyGeomNode.h"

#include "scene/ConversionGuard.h"
#include "scene/GeometryNodeConversion.h"

#include "base/Assert.h"
#include "host/HostNode.h"

namespace vx {

void MyGeomNode::Convert(ZR::CompositeObject* target, bool single, const HostMatrix3& parent)
{
    if (!VX_ASSERT_TEXT(GetHostNode(), "GetHostNode()"))
        return;
    TickNodeProgress();
    const ConversionGuard guard(this);
    ConvertGeometryNode(*this, target, single, GetHostNode()->GetNodeTM(0), parent);
}

void MyGeomNode::ConvertWithTransform(
    ZR::CompositeObject* target, bool single, const HostMatrix3& transform, const StrongNode& copy)
{
    if (!VX_ASSERT_TEXT(GetHostNode(), "GetHostNode()"))
        return;
    const ConversionGuard guard(this);
    ConvertGeometryNode(*this, target, single, transform, HostMatrix3::Identity(), &copy);
}

} // namespace vx
