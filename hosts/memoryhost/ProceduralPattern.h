#pragma once
// The procedural textures the substitute host can render: a checker and a vertical gradient, with
// their colours. The host renders them into the bitmap the exporter asks for.

#include "host/HostClassId.h"
#include "host/HostTypes.h"
#include "memoryhost/MemoryImage.h"

#include <array>
#include <optional>

namespace vx {

// The class identifiers the host gives these textures.
inline constexpr HostClassId kClassCheckerTexture {0x200, 0};
inline constexpr HostClassId kClassGradientTexture {0x270, 0};

struct ProceduralPattern {
    enum class Kind { Checker, Gradient };
    Kind kind = Kind::Checker;
    // Checker: colours[0] and colours[1] alternate, colours[0] in the top-left square. Gradient:
    // colours[0] at the top, colours[1] in the middle, colours[2] at the bottom.
    std::array<HostColor, 3> colours {};
    // Checker: squares along each side (1 or more).
    int tiles = 2;
};

// The largest side the host renders.
constexpr int kMaxRenderSide = 8192;

// pattern rendered into a width x height image (opaque, colours clamped to 0..1); nothing when a side
// is not within 1..kMaxRenderSide.
std::optional<MemoryImage> RenderPattern(const ProceduralPattern& pattern, int width, int height);

} // namespace vx
