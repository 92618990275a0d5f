#pragma once
// The in-memory scene object: a super class and class identifier with, depending on its kind, a
// mesh, Bezier splines, or (for a derived object) the object beneath its modifier stack.

#include "host/HostObject.h"
#include "memoryhost/MemoryMesh.h"
#include "memoryhost/MemoryShape.h"

#include <memory>
#include <optional>

namespace vx {

class MemoryHost;

class MemoryObject final : public HostObject {
public:
    // Objects are made by MemoryHost::AddObject, which owns them.
    MemoryObject(MemoryHost& host, std::uint32_t superClass, HostClassId classId);

    // The mesh the object renders as (for triangle mesh objects also their own mesh); null for none.
    void SetMesh(std::unique_ptr<MemoryMesh> mesh);
    MemoryMesh* GetMemoryMesh() const { return mesh_.get(); }
    // The splines of a shape object.
    void SetShape(MemoryShape shape);
    // Makes the object a derived object over base with modifierCount modifiers. The caller keeps the
    // chain of derived objects free of cycles (the loader checks it); a cycle is cut when walked.
    void SetDerivedFrom(HostObject* base, int modifierCount);

    std::uint32_t GetSuperClassId() const override;
    HostClassId GetClassId() const override;
    int GetNumModifiers() const override;
    HostObject* GetReferencedObject() const override;
    HostObject* FindBaseObject() const override;
    HostObject* Evaluate(HostTime t) const override;
    HostMesh* GetMesh() const override;
    HostMesh* GetRenderMesh(HostTime t, const HostNode* node) const override;
    bool CanConvertToMesh() const override;
    HostMesh* ConvertToMesh(HostTime t) const override;
    const HostShape* GetShape() const override;
    HostObject* Clone() const override;

private:
    bool IsDerived() const;

    MemoryHost& host_;
    std::uint32_t superClass_;
    HostClassId classId_;
    std::unique_ptr<MemoryMesh> mesh_;
    std::optional<MemoryShape> shape_;
    HostObject* base_ = nullptr;
    int modifierCount_ = 0;
};

} // namespace vx
