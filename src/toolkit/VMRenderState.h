#pragma once
// VMRenderState: how the faces of a model pair look (the material), shared by reference count. It
// holds render properties in the order appended, at most one of each class.

#include "base/Array.h"
#include "base/HeapString.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMRefCounted.h"
#include "toolkit/VMRenderProperty.h"

#include <cstdint>

namespace vx {

class VMRenderState : public VMRefCounted {
public:
    // A new render state: no name, no properties, Tag 0.
    VMRenderState() = default;

    // The property of class c, scanning from the last entry to the first; null when absent.
    VMRenderProperty* FindProperty(VMPropertyClass c) const;
    // The property of class T (a VMRenderProperty subclass with a CLASS constant), or null.
    template <class T> T* Find() const { return static_cast<T*>(FindProperty(T::CLASS)); }
    // Appends property (taking a reference); null is ignored.
    void AppendProperty(VMRenderProperty* property);
    // Makes a new T, appends it and returns it.
    template <class T> T* AppendNew()
    {
        VMRef<T> made = MakeVMRef<T>();
        AppendProperty(made.Get());
        return made.Get();
    }
    // Removes property (dropping the state's reference); a property the state does not hold
    // changes nothing.
    void RemoveProperty(const VMRenderProperty* property);
    bool IsEmpty() const { return properties.IsEmpty(); }
    int PropertyCount() const { return static_cast<int>(properties.Count()); }

    // The material's cleaned name, or a colour name for a node without material.
    HeapString name;
    Array<VMRef<VMRenderProperty>> properties;
    // The material number the model description writer gives the state; 0 until then.
    int32_t Tag = 0;
};

// Identity of render states: the same number of properties, and for each property of a one of the
// same class in b that is the same object or compares equal. Null states are identical only to
// null.
bool AreIdenticalStates(const VMRenderState* a, const VMRenderState* b);

// A key of the fields that identity compares exactly (property count, the classes present, the
// material property's use flags, blend factors, render flags, texture slot count): identical states
// have equal keys, so the key can sort states into buckets of candidates.
uint64_t StateIdentityKey(const VMRenderState& state);

} // namespace vx
