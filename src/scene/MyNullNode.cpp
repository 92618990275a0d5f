#include "scene/MyNullNode.h"

namespace vx {

void MyNullNode::ConvertWithTransform(ZR::CompositeObject*, bool, const HostMatrix3&, const StrongNode&) { }

} // namespace vx
