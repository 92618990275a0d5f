#pragma once
// What an animation blob describes: the codes of the builder's AnimationKind.

#include <cstdint>

namespace vx {

inline constexpr int32_t kAnimationNone = 0; // nothing animated
inline constexpr int32_t kAnimationKeys = -1; // key tracks of position, rotation and scale
inline constexpr int32_t kAnimationPath = -2; // a position along a path
inline constexpr int32_t kAnimationMorph = -3; // reserved
inline constexpr int32_t kAnimationBones = -4; // reserved

} // namespace vx
