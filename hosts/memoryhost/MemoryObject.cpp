#include "memoryhost/MemoryObject.h"

#include "base/Assert.h"
#include "memoryhost/MemoryHost.h"

#include <utility>

namespace vx {

namespace {
// Longest chain of derived objects walked before the walk is taken for a cycle.
constexpr int kMaxDerivedChain = 100000;
} // namespace

MemoryObject::MemoryObject(MemoryHost& host, std::uint32_t superClass, HostClassId classId)
    : host_(host)
    , superClass_(superClass)
    , classId_(classId)
{
}

void MemoryObject::SetMesh(std::unique_ptr<MemoryMesh> mesh)
{
    mesh_ = std::move(mesh);
}

void MemoryObject::SetShape(MemoryShape shape)
{
    shape_ = std::move(shape);
}

void MemoryObject::SetDerivedFrom(HostObject* base, int modifierCount)
{
    base_ = base;
    modifierCount_ = modifierCount;
}

bool MemoryObject::IsDerived() const
{
    return IsDerivedSuperClass(superClass_);
}

std::uint32_t MemoryObject::GetSuperClassId() const
{
    return superClass_;
}

HostClassId MemoryObject::GetClassId() const
{
    return classId_;
}

int MemoryObject::GetNumModifiers() const
{
    return IsDerived() ? modifierCount_ : 0;
}

HostObject* MemoryObject::GetReferencedObject() const
{
    return IsDerived() ? base_ : nullptr;
}

HostObject* MemoryObject::FindBaseObject() const
{
    const HostObject* current = this;
    for (int step = 0; step < kMaxDerivedChain; ++step) {
        HostObject* next = current->GetReferencedObject();
        if (!next)
            return const_cast<HostObject*>(current);
        current = next;
    }
    VX_ASSERT_TEXT(false, "derived object chain without cycle");
    return const_cast<MemoryObject*>(this);
}

HostObject* MemoryObject::Evaluate(HostTime) const
{
    // Modifiers are not modelled: a stack evaluates to the object at its bottom.
    return FindBaseObject();
}

HostMesh* MemoryObject::GetMesh() const
{
    if (superClass_ != kSuperClassGeometry
        || (classId_ != kClassTriangleMesh && classId_ != kClassEditableMesh))
        return nullptr;
    return mesh_.get();
}

HostMesh* MemoryObject::GetRenderMesh(HostTime t, const HostNode* node) const
{
    const HostObject* evaluated = Evaluate(t);
    if (evaluated != this)
        return evaluated->GetRenderMesh(t, node);
    return mesh_.get();
}

bool MemoryObject::CanConvertToMesh() const
{
    return ConvertToMesh(0) != nullptr;
}

HostMesh* MemoryObject::ConvertToMesh(HostTime t) const
{
    return GetRenderMesh(t, nullptr);
}

const HostShape* MemoryObject::GetShape() const
{
    const HostObject* evaluated = Evaluate(0);
    if (evaluated != this)
        return evaluated->GetShape();
    if (superClass_ != kSuperClassShape || !shape_)
        return nullptr;
    return &shape_->GetView();
}

HostObject* MemoryObject::Clone() const
{
    MemoryObject& copy = host_.AddObject(superClass_, classId_);
    if (mesh_)
        copy.SetMesh(std::make_unique<MemoryMesh>(*mesh_));
    copy.shape_ = shape_;
    copy.base_ = base_;
    copy.modifierCount_ = modifierCount_;
    return &copy;
}

} // namespace vx
