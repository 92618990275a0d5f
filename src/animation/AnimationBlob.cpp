#include "animation/AnimationBlob.h"

#include "animation/AnimationKind.h"

#include <bit>
#include <utility>

namespace vx {

namespace {

// Appends values little-endian whatever the machine's byte order.
class LittleEndianWriter {
public:
    void WriteInt32(int32_t value)
    {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            bytes_.push_back(static_cast<unsigned char>((bits >> shift) & 0xFFu));
    }
    void WriteFloat(float value) { WriteInt32(static_cast<int32_t>(std::bit_cast<uint32_t>(value))); }
    std::vector<unsigned char> Take() { return std::move(bytes_); }

private:
    std::vector<unsigned char> bytes_;
};

// Count, then each key's time and its first components values.
void WriteKeys(LittleEndianWriter& out, const VMRef<VMTrack>& track, int components)
{
    const int32_t count = track ? track->NumKeys() : 0;
    out.WriteInt32(count);
    for (int32_t i = 0; i < count; ++i) {
        const VMKeyValue key = track->GetKeyValue(i);
        out.WriteInt32(key.time);
        for (int c = 0; c < components; ++c)
            out.WriteFloat(key.v[static_cast<size_t>(c)]);
    }
}

int32_t PositionInterpolation(const VMRef<VMTrack>& track)
{
    if (track && track->GetClass() == VMTrackClass::VectorTCBTrack)
        return 3;
    if (track && track->GetClass() == VMTrackClass::VectorBezierTrack)
        return 2;
    return 1;
}

int32_t RotationInterpolation(const VMRef<VMTrack>& track)
{
    if (track && track->GetClass() == VMTrackClass::QuatTCBTrack)
        return 3;
    if (track && track->GetClass() == VMTrackClass::QuatSmoothTrack)
        return 2;
    return 1;
}

} // namespace

std::vector<unsigned char> SerialiseAnimation(
    int32_t kind, const HostInterval& range, const std::array<VMRef<VMTrack>, 4>& slots)
{
    LittleEndianWriter out;
    out.WriteInt32(1);
    out.WriteInt32(kind);
    if (kind != kAnimationKeys && kind != kAnimationPath)
        return out.Take();
    out.WriteInt32(range.start);
    out.WriteInt32(range.end);
    if (kind == kAnimationKeys) {
        out.WriteInt32(PositionInterpolation(slots[0]));
        WriteKeys(out, slots[0], 3);
        out.WriteInt32(RotationInterpolation(slots[1]));
        WriteKeys(out, slots[1], 4);
        WriteKeys(out, slots[2], 1);
    } else {
        WriteKeys(out, slots[0], 3);
        WriteKeys(out, slots[2], 1);
        WriteKeys(out, slots[3], 1);
    }
    return out.Take();
}

} // namespace vx
