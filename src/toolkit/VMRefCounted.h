#pragma once
// VMRefCounted: the base of toolkit objects that several holders share (vertex data, render states).
// The object counts its holders and deletes itself when the last one releases it. One thread only:
// the count is a plain integer.

#include <cstdint>

namespace vx {

class VMRefCounted {
public:
    VMRefCounted(const VMRefCounted&) = delete;
    VMRefCounted& operator=(const VMRefCounted&) = delete;

    // Takes one more reference.
    void AddRef() const { ++refs_; }

    // Drops one reference and deletes the object when none is left. Releasing an object that holds
    // no reference is reported as "refs>0" and changes nothing (the object is not deleted twice).
    void Release() const;

    // The number of references held now.
    int32_t RefCount() const { return refs_; }

protected:
    // A new object holds no reference; the first holder takes one (see VMRef).
    VMRefCounted() = default;
    virtual ~VMRefCounted() = default;

private:
    mutable int32_t refs_ = 0;
};

} // namespace vx
