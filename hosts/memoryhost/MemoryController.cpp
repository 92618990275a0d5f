#include "memoryhost/MemoryController.h"

#include "host/HostNode.h"
#include "host/HostObject.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace vx {

namespace {

HostPoint3 Lerp(const HostPoint3& a, const HostPoint3& b, float u)
{
    return a + (b - a) * u;
}

// Linear blend along the shorter arc, normalised.
HostQuat Blend(const HostQuat& a, HostQuat b, float u)
{
    if (a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w < 0.0f)
        b = {-b.x, -b.y, -b.z, -b.w};
    const HostQuat q {
        a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u, a.z + (b.z - a.z) * u, a.w + (b.w - a.w) * u};
    const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (length == 0.0f)
        return a;
    return {q.x / length, q.y / length, q.z / length, q.w / length};
}

// Narrows valid (when given) to its overlap with [start, end].
void Narrow(HostInterval* valid, HostTime start, HostTime end)
{
    if (!valid)
        return;
    valid->start = std::max(valid->start, start);
    valid->end = std::min(valid->end, end);
}

HostControllerValue ValueOfKey(const HostKey& key)
{
    HostControllerValue value;
    value.point = key.point;
    value.quat = key.quat;
    value.value = key.value;
    return value;
}

} // namespace

MemoryController::MemoryController(HostClassId classId, MemoryValueType type, MemoryControllerKind kind)
    : classId_(classId)
    , type_(type)
    , kind_(kind)
{
    if (type == MemoryValueType::Scale)
        constant_.point = {1, 1, 1};
}

MemoryController::~MemoryController() = default;

void MemoryController::SetKeys(std::vector<HostKey> keys, bool relativeRotations)
{
    std::stable_sort(
        keys.begin(), keys.end(), [](const HostKey& a, const HostKey& b) { return a.time < b.time; });
    givenKeys_ = keys;
    keys_ = std::move(keys);
    if (relativeRotations && type_ == MemoryValueType::Rotation) {
        HostQuat running;
        for (HostKey& key : keys_) {
            running = ComposeRotations(running, key.quat);
            key.quat = running;
        }
    }
}

void MemoryController::SetSubControllers(MemoryController* a, MemoryController* b, MemoryController* c)
{
    sub_[0] = a;
    sub_[1] = b;
    sub_[2] = c;
}

void MemoryController::SetPath(
    HostNode* pathNode, MemoryController* percent, bool follow, bool flip, int axis)
{
    pathNode_ = pathNode;
    percent_ = percent;
    follow_ = follow;
    flip_ = flip;
    axis_ = axis;
}

bool MemoryController::IsAnimated() const
{
    if (animated_)
        return *animated_;
    switch (kind_) {
    case MemoryControllerKind::Keys:
    case MemoryControllerKind::Other:
        return keys_.size() >= 2;
    case MemoryControllerKind::Xyz:
    case MemoryControllerKind::Transform:
        return std::any_of(
            std::begin(sub_), std::end(sub_), [](const MemoryController* c) { return c && c->IsAnimated(); });
    case MemoryControllerKind::Path:
        return true;
    }
    return false;
}

const HostKeyControl* MemoryController::GetKeyControl() const
{
    return kind_ == MemoryControllerKind::Keys ? static_cast<const HostKeyControl*>(this) : nullptr;
}

std::vector<HostTime> MemoryController::GetKeyTimes() const
{
    std::vector<HostTime> times;
    if (kind_ == MemoryControllerKind::Xyz) {
        std::set<HostTime> distinct;
        for (const MemoryController* sub : sub_)
            if (sub)
                for (const HostKey& key : sub->keys_)
                    distinct.insert(key.time);
        times.assign(distinct.begin(), distinct.end());
    } else {
        for (const HostKey& key : keys_)
            times.push_back(key.time);
    }
    return times;
}

HostTime MemoryController::GetKeyTime(int index) const
{
    const std::vector<HostTime> times = GetKeyTimes();
    if (index < 0 || static_cast<size_t>(index) >= times.size())
        return 0;
    return times[static_cast<size_t>(index)];
}

bool MemoryController::GetKey(int index, HostKey* key) const
{
    if (!key || index < 0 || static_cast<size_t>(index) >= givenKeys_.size())
        return false;
    *key = givenKeys_[static_cast<size_t>(index)];
    return true;
}

HostInterval MemoryController::GetTimeRange() const
{
    switch (kind_) {
    case MemoryControllerKind::Keys:
        return keys_.empty() ? kIntervalNever : HostInterval {keys_.front().time, keys_.back().time};
    case MemoryControllerKind::Other:
        // A controller of another class without keys is procedural: it is not bounded in time.
        return keys_.empty() ? kIntervalForever : HostInterval {keys_.front().time, keys_.back().time};
    case MemoryControllerKind::Path:
        return percent_ ? percent_->GetTimeRange() : kIntervalForever;
    case MemoryControllerKind::Xyz:
    case MemoryControllerKind::Transform: {
        HostInterval range = kIntervalNever;
        for (const MemoryController* sub : sub_) {
            if (!sub)
                continue;
            const HostInterval r = sub->GetTimeRange();
            if (IsEmptyInterval(r))
                continue;
            range = IsEmptyInterval(range)
                ? r
                : HostInterval {std::min(range.start, r.start), std::max(range.end, r.end)};
        }
        return range;
    }
    }
    return kIntervalNever;
}

HostControllerValue MemoryController::GetValue(HostTime t, HostInterval* valid) const
{
    switch (kind_) {
    case MemoryControllerKind::Keys:
    case MemoryControllerKind::Other:
        return GetKeyedValue(t, valid);
    case MemoryControllerKind::Xyz:
        return GetXyzValue(t, valid);
    case MemoryControllerKind::Path:
        return GetPathValue(t, valid);
    case MemoryControllerKind::Transform:
        break;
    }
    return constant_;
}

HostControllerValue MemoryController::GetKeyedValue(HostTime t, HostInterval* valid) const
{
    if (keys_.empty())
        return constant_;
    if (animated_ && !*animated_)
        return ValueOfKey(keys_.front());
    if (t <= keys_.front().time) {
        Narrow(valid, kTimeNegInfinity, keys_.front().time);
        return ValueOfKey(keys_.front());
    }
    if (t >= keys_.back().time) {
        Narrow(valid, keys_.back().time, kTimePosInfinity);
        return ValueOfKey(keys_.back());
    }
    Narrow(valid, t, t);
    const auto next = std::upper_bound(
        keys_.begin(), keys_.end(), t, [](HostTime time, const HostKey& key) { return time < key.time; });
    const HostKey& b = *next;
    const HostKey& a = *(next - 1);
    const float u
        = static_cast<float>(static_cast<double>(t - a.time) / static_cast<double>(b.time - a.time));
    HostControllerValue value;
    value.value = a.value + (b.value - a.value) * u;
    value.point = Lerp(a.point, b.point, u);
    value.quat = Blend(a.quat, b.quat, u);
    return value;
}

HostControllerValue MemoryController::GetXyzValue(HostTime t, HostInterval* valid) const
{
    float v[3] = {constant_.point.x, constant_.point.y, constant_.point.z};
    for (int i = 0; i < 3; ++i)
        if (sub_[i])
            v[i] = sub_[i]->GetValue(t, valid).value;
    HostControllerValue value;
    if (type_ == MemoryValueType::Rotation)
        value.quat = MakeEulerRotation(v[0], v[1], v[2]);
    else
        value.point = {v[0], v[1], v[2]};
    return value;
}

HostControllerValue MemoryController::GetPathValue(HostTime t, HostInterval* valid) const
{
    Narrow(valid, t, t);
    HostControllerValue value;
    const float percent = percent_ ? percent_->GetValue(t, nullptr).value : 0.0f;
    const HostObject* object = pathNode_ ? pathNode_->EvalWorldState(t) : nullptr;
    const HostShape* shape
        = object && object->GetSuperClassId() == kSuperClassShape ? object->GetShape() : nullptr;
    if (!shape || shape->splines.empty())
        return value;
    value.point = EvaluateSpline(shape->splines[0], percent / 100.0f) * pathNode_->GetObjectTM(t);
    return value;
}

HostMatrix3 MemoryController::GetMatrix(HostTime t) const
{
    const HostPoint3 position = sub_[0] ? sub_[0]->GetValue(t, nullptr).point : HostPoint3 {};
    const HostQuat rotation = sub_[1] ? sub_[1]->GetValue(t, nullptr).quat : HostQuat {};
    const HostPoint3 scale = sub_[2] ? sub_[2]->GetValue(t, nullptr).point : HostPoint3 {1, 1, 1};
    return MakeScaleMatrix(scale) * MakeRotationMatrix(rotation) * MakeTranslationMatrix(position);
}

bool MemoryController::Copy(const HostController* from)
{
    const auto* source = dynamic_cast<const MemoryController*>(from);
    if (!source || source == this || kind_ != MemoryControllerKind::Keys)
        return false;
    if (source->kind_ == MemoryControllerKind::Keys && source->type_ == type_) {
        givenKeys_ = source->givenKeys_;
        keys_ = source->keys_;
        return true;
    }
    return source->kind_ == MemoryControllerKind::Xyz && CopyXyz(*source);
}

bool MemoryController::CopyXyz(const MemoryController& from)
{
    const bool rotation = type_ == MemoryValueType::Rotation;
    if ((from.type_ == MemoryValueType::Rotation) != rotation)
        return false;
    // A relative rotation key would have to be taken apart again; no host class asks for it.
    if (rotation && classId_ == HostClassId {0x442313, 0})
        return false;
    std::vector<HostKey> keys;
    for (HostTime t : from.GetKeyTimes()) {
        HostKey key;
        key.time = t;
        const HostControllerValue value = from.GetValue(t, nullptr);
        key.point = value.point;
        key.quat = value.quat;
        float* in[3] = {&key.inTangent.x, &key.inTangent.y, &key.inTangent.z};
        float* out[3] = {&key.outTangent.x, &key.outTangent.y, &key.outTangent.z};
        for (int i = 0; i < 3; ++i) {
            const MemoryController* sub = from.sub_[i];
            if (!sub)
                continue;
            for (const HostKey& subKey : sub->keys_) {
                if (subKey.time != t)
                    continue;
                *in[i] = subKey.inTangent.x;
                *out[i] = subKey.outTangent.x;
                key.tension = subKey.tension;
                key.continuity = subKey.continuity;
                key.bias = subKey.bias;
            }
        }
        keys.push_back(key);
    }
    givenKeys_ = keys;
    keys_ = std::move(keys);
    return true;
}

HostPathConstraint* MemoryController::GetPathConstraint() const
{
    if (kind_ != MemoryControllerKind::Path)
        return nullptr;
    return const_cast<HostPathConstraint*>(static_cast<const HostPathConstraint*>(this));
}

void MemoryController::DeleteThis()
{
    if (temporary_)
        delete this;
}

HostPoint3 EvaluateSpline(const HostSpline& spline, float fraction)
{
    const size_t n = spline.knots.size();
    if (n == 0)
        return {};
    const size_t segments = spline.closed ? n : n - 1;
    if (segments == 0)
        return spline.knots[0].point;
    const float f = std::clamp(fraction, 0.0f, 1.0f) * static_cast<float>(segments);
    const size_t segment = std::min(static_cast<size_t>(f), segments - 1);
    const float u = f - static_cast<float>(segment);
    const HostSplineKnot& a = spline.knots[segment];
    const HostSplineKnot& b = spline.knots[(segment + 1) % n];
    const float v = 1.0f - u;
    return a.point * (v * v * v) + a.outVec * (3 * v * v * u) + b.inVec * (3 * v * u * u)
        + b.point * (u * u * u);
}

HostQuat MakeEulerRotation(float x, float y, float z)
{
    return ComposeRotations(
        ComposeRotations(MakeQuatFromAxisAngle({1, 0, 0}, x), MakeQuatFromAxisAngle({0, 1, 0}, y)),
        MakeQuatFromAxisAngle({0, 0, 1}, z));
}

} // namespace vx
