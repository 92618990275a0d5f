#include "memoryhost/MemoryNode.h"

#include "host/HostMesh.h"
#include "host/HostObject.h"
#include "host/HostShape.h"
#include "memoryhost/MemoryController.h"

#include <utility>

namespace vx {

MemoryNode::MemoryNode(MemoryNode* parent, std::string name)
    : parent_(parent)
    , name_(std::move(name))
{
}

void MemoryNode::SetObjectOffset(
    const HostPoint3& position, const HostQuat& rotation, const HostPoint3& scale)
{
    offsetPosition_ = position;
    offsetRotation_ = rotation;
    offsetScale_ = scale;
}

HostObject* MemoryNode::EvalWorldState(HostTime t) const
{
    return object_ ? object_->Evaluate(t) : nullptr;
}

HostController* MemoryNode::GetTMController() const
{
    return controller_;
}

HostMatrix3 MemoryNode::LocalTMAt(HostTime t) const
{
    if (!controller_ || evaluating_)
        return local_;
    struct Evaluating {
        bool& flag;
        explicit Evaluating(bool& f)
            : flag(f)
        {
            flag = true;
        }
        ~Evaluating() { flag = false; }
    } guard(evaluating_);
    return controller_->GetMatrix(t);
}

HostMatrix3 MemoryNode::GetNodeTM(HostTime t) const
{
    // local * parent * grandparent ...; the root's transform is the identity.
    HostMatrix3 world = LocalTMAt(t);
    for (const MemoryNode* ancestor = parent_; ancestor; ancestor = ancestor->parent_)
        world = world * ancestor->LocalTMAt(t);
    return world;
}

HostMatrix3 MemoryNode::GetObjectOffsetTM() const
{
    return MakeScaleMatrix(offsetScale_) * MakeRotationMatrix(offsetRotation_)
        * MakeTranslationMatrix(offsetPosition_);
}

HostMatrix3 MemoryNode::GetObjectTM(HostTime t) const
{
    return GetObjectOffsetTM() * GetNodeTM(t);
}

HostMatrix3 MemoryNode::GetObjTMAfterWSM(HostTime t) const
{
    return worldSpaceModifier_ ? HostMatrix3::Identity() : GetObjectTM(t);
}

HostMatrix3 MemoryNode::GetParentTM(HostTime t) const
{
    return parent_ ? parent_->GetNodeTM(t) : HostMatrix3::Identity();
}

HostNode* MemoryNode::GetChildNode(int index) const
{
    if (index < 0 || size_t(index) >= children_.size())
        return nullptr;
    return children_[index];
}

HostBox3 MemoryNode::GetObjectBoundingBox() const
{
    HostBox3 box;
    const HostObject* object = EvalWorldState(0);
    if (!object)
        return box;
    const HostMatrix3 offset = GetObjectOffsetTM();
    if (const HostMesh* mesh = object->GetRenderMesh(0, this)) {
        for (const HostPoint3& v : mesh->GetVerts())
            box.Include(v * offset);
    } else if (const HostShape* shape = object->GetShape()) {
        for (const HostSpline& spline : shape->splines)
            for (const HostSplineKnot& knot : spline.knots)
                box.Include(knot.point * offset);
    }
    return box;
}

} // namespace vx
