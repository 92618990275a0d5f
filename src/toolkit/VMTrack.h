#pragma once
// Animation tracks of the toolkit: lists of keys in increasing time, times in milliseconds. Each
// track class keeps one key type; tracks are shared by reference count, and two tracks are equal
// when they are of the same class and hold equal keys.

#include "toolkit/VMRefCounted.h"

#include "base/Quaternion.h"
#include "base/Vector3.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vx {

enum class VMTrackClass {
    VectorTrack, // linear vectors
    VectorTCBTrack, // vectors with tension, continuity, bias
    VectorBezierTrack, // vectors with in- and out-tangents
    QuatTrack, // linear quaternions
    QuatTCBTrack, // quaternions with tension, continuity, bias
    QuatSmoothTrack, // smoothly interpolated quaternions
    FloatTrack, // linear floats
};

// A key's time and value as plain numbers: a vector in v[0..2], a quaternion in v[0..3] (x, y, z,
// w), a float in v[0]; unused components are 0.
struct VMKeyValue {
    int32_t time = 0;
    std::array<float, 4> v {};
};

class VMTrack : public VMRefCounted {
public:
    virtual VMTrackClass GetClass() const = 0;
    virtual int32_t NumKeys() const = 0;
    // Key index's time and value; requires 0 <= index < NumKeys() (otherwise a zero value).
    virtual VMKeyValue GetKeyValue(int32_t index) const = 0;
    // Same class and equal keys (tangents and TCB values included).
    virtual bool Equals(const VMTrack& other) const = 0;
};

struct VMVectorKey {
    int32_t time = 0;
    Vector3 value;
    friend bool operator==(const VMVectorKey&, const VMVectorKey&) = default;
};

struct VMVectorTCBKey {
    int32_t time = 0;
    Vector3 value;
    float tension = 0.0f;
    float continuity = 0.0f;
    float bias = 0.0f;
    friend bool operator==(const VMVectorTCBKey&, const VMVectorTCBKey&) = default;
};

struct VMVectorBezierKey {
    int32_t time = 0;
    Vector3 value;
    Vector3 inTangent;
    Vector3 outTangent;
    friend bool operator==(const VMVectorBezierKey&, const VMVectorBezierKey&) = default;
};

struct VMQuatKey {
    int32_t time = 0;
    Quaternion value;
    friend bool operator==(const VMQuatKey&, const VMQuatKey&) = default;
};

struct VMQuatTCBKey {
    int32_t time = 0;
    Quaternion value;
    float tension = 0.0f;
    float continuity = 0.0f;
    float bias = 0.0f;
    friend bool operator==(const VMQuatTCBKey&, const VMQuatTCBKey&) = default;
};

struct VMFloatKey {
    int32_t time = 0;
    float value = 0.0f;
    friend bool operator==(const VMFloatKey&, const VMFloatKey&) = default;
};

// The plain value of each key type.
inline std::array<float, 4> KeyValueOf(const Vector3& v)
{
    return {v.x, v.y, v.z, 0.0f};
}
inline std::array<float, 4> KeyValueOf(const Quaternion& q)
{
    return {q.x, q.y, q.z, q.w};
}
inline std::array<float, 4> KeyValueOf(float f)
{
    return {f, 0.0f, 0.0f, 0.0f};
}

// A track of the class kClass holding keys of type Key.
template <class Key, VMTrackClass kClass> class VMKeyTrack final : public VMTrack {
public:
    static constexpr VMTrackClass kTrackClass = kClass;

    VMTrackClass GetClass() const override { return kClass; }
    int32_t NumKeys() const override { return static_cast<int32_t>(keys_.size()); }
    VMKeyValue GetKeyValue(int32_t index) const override
    {
        if (index < 0 || index >= NumKeys())
            return {};
        const Key& key = keys_[static_cast<size_t>(index)];
        return {key.time, KeyValueOf(key.value)};
    }
    bool Equals(const VMTrack& other) const override
    {
        return other.GetClass() == kClass && static_cast<const VMKeyTrack&>(other).keys_ == keys_;
    }

    // Appends key; the caller adds keys in increasing time.
    void AddKey(const Key& key) { keys_.push_back(key); }
    const std::vector<Key>& Keys() const { return keys_; }

private:
    std::vector<Key> keys_;
};

using VMVectorTrack = VMKeyTrack<VMVectorKey, VMTrackClass::VectorTrack>;
using VMVectorTCBTrack = VMKeyTrack<VMVectorTCBKey, VMTrackClass::VectorTCBTrack>;
using VMVectorBezierTrack = VMKeyTrack<VMVectorBezierKey, VMTrackClass::VectorBezierTrack>;
using VMQuatTrack = VMKeyTrack<VMQuatKey, VMTrackClass::QuatTrack>;
using VMQuatTCBTrack = VMKeyTrack<VMQuatTCBKey, VMTrackClass::QuatTCBTrack>;
using VMQuatSmoothTrack = VMKeyTrack<VMQuatKey, VMTrackClass::QuatSmoothTrack>;
using VMFloatTrack = VMKeyTrack<VMFloatKey, VMTrackClass::FloatTrack>;

} // namespace vx
