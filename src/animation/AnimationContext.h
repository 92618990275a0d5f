#pragma once
// What the key-frame export of one node reads besides the node: the host (scene range, ticks per
// frame, temporary controllers), the run's scale factor, the animation settings and the name of
// the object being exported (for messages).

#include "run/ExportRunState.h"

#include <string>

namespace vx {

class Host;

struct AnimationContext {
    Host* host = nullptr;
    // Metres per host scene unit.
    float scaleFactor = 1.0f;
    AnimationSettings settings;
    std::string objectName;
};

} // namespace vx
