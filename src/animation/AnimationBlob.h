#pragma once
// The animation blob: the byte layout of a node's animation tracks. Every value is little-endian;
// i32 is a signed 32-bit integer, f32 a 32-bit IEEE float.
//
//   i32 version (1), i32 kind; for kinds -1 and -2: i32 range start, i32 range end (ticks).
//   kind -1: i32 position interpolation (3 TCB, 2 Bezier, 1 otherwise), position keys;
//            i32 rotation interpolation (3 TCB, 2 smooth, 1 otherwise), rotation keys; scale keys.
//   kind -2: slot 0 keys as position keys, slot 2 and slot 3 keys as float keys.
//   position keys: i32 count, count x (i32 time, f32 x, f32 y, f32 z)
//   rotation keys: i32 count, count x (i32 time, f32 x, f32 y, f32 z, f32 w)
//   float keys:    i32 count, count x (i32 time, f32 value)
// An empty slot has the count 0. Tangents and TCB values are not written.

#include "host/HostInterval.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMTrack.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vx {

// The blob of kind with the scene's animation range and the four track slots (position, rotation,
// scale, path percentage); any other kind than -1 and -2 gives the version and the kind only.
std::vector<unsigned char> SerialiseAnimation(
    int32_t kind, const HostInterval& range, const std::array<VMRef<VMTrack>, 4>& slots);

} // namespace vx
