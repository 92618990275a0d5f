#pragma once
// A scene object: what a node shows. Several nodes may refer to one object; the exporter compares
// objects by address.

#include "host/HostClassId.h"
#include "host/HostTypes.h"

#include <cstdint>

namespace vx {

class HostMesh;
class HostNode;
struct HostShape;

class HostObject {
public:
    virtual ~HostObject() = default;

    // The super class code (HostSuperClass) and the class identifier.
    virtual std::uint32_t GetSuperClassId() const = 0;
    virtual HostClassId GetClassId() const = 0;

    // Derived objects (a modifier stack over another object): the number of modifiers, and the
    // object directly beneath the stack. Other objects: 0 and null.
    virtual int GetNumModifiers() const = 0;
    virtual HostObject* GetReferencedObject() const = 0;
    // The object at the bottom of any chain of derived objects; the object itself when it is not
    // derived.
    virtual HostObject* FindBaseObject() const = 0;
    // The object that results from evaluating the object at time t (for a derived object, the
    // result of its modifier stack); never null.
    virtual HostObject* Evaluate(HostTime t) const = 0;

    // The object's own mesh when it is a triangle mesh object (kClassTriangleMesh or
    // kClassEditableMesh); null otherwise.
    virtual HostMesh* GetMesh() const = 0;
    // The mesh the object renders as at time t for node; null when it renders nothing.
    virtual HostMesh* GetRenderMesh(HostTime t, const HostNode* node) const = 0;
    // Whether the object can be converted to a triangle mesh object, and the mesh of that conversion
    // at time t (null when it cannot). Returned meshes live as long as the object.
    virtual bool CanConvertToMesh() const = 0;
    virtual HostMesh* ConvertToMesh(HostTime t) const = 0;

    // The Bezier splines of a shape object; null for objects that are not shapes.
    virtual const HostShape* GetShape() const = 0;

    // A copy of the object, owned by the host scene like every other object (never null).
    virtual HostObject* Clone() const = 0;
};

} // namespace vx
