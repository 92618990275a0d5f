#pragma once
// VMRef<T>: a holder of one reference to a VMRefCounted object. Copying takes another reference,
// moving hands the reference over, destruction releases it. A VMRef may be null.

#include "toolkit/VMRefCounted.h"

#include <type_traits>
#include <utility>

namespace vx {

template <class T> class VMRef {
public:
    // The null reference.
    VMRef() = default;
    VMRef(std::nullptr_t) { }

    // Takes a reference to object (null gives the null reference).
    explicit VMRef(T* object)
        : object_(object)
    {
        if (object_)
            object_->AddRef();
    }

    VMRef(const VMRef& other)
        : VMRef(other.object_)
    {
    }
    VMRef(VMRef&& other) noexcept
        : object_(std::exchange(other.object_, nullptr))
    {
    }

    // A reference to a derived class converts to one to its base.
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    VMRef(const VMRef<U>& other)
        : VMRef(other.Get())
    {
    }

    VMRef& operator=(const VMRef& other)
    {
        VMRef copy(other);
        Swap(copy);
        return *this;
    }
    VMRef& operator=(VMRef&& other) noexcept
    {
        VMRef taken(std::move(other));
        Swap(taken);
        return *this;
    }

    ~VMRef() { Reset(); }

    // Releases the held reference; the holder becomes null.
    void Reset()
    {
        if (T* object = std::exchange(object_, nullptr))
            object->Release();
    }

    // Holds object instead (taking a reference to it) and releases the old one.
    void Reset(T* object)
    {
        VMRef fresh(object);
        Swap(fresh);
    }

    void Swap(VMRef& other) noexcept { std::swap(object_, other.object_); }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // References compare by the object they hold.
    friend bool operator==(const VMRef& a, const VMRef& b) { return a.object_ == b.object_; }
    friend bool operator==(const VMRef& a, std::nullptr_t) { return a.object_ == nullptr; }

private:
    T* object_ = nullptr;
};

// A new T made from args, held by the returned reference (its count is 1).
template <class T, class... Args> VMRef<T> MakeVMRef(Args&&... args)
{
    return VMRef<T>(new T(std::forward<Args>(args)...));
}

} // namespace vx
