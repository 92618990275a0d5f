#pragma once
// The controller classes of the substitute host: the class identifier, value type and kind of each
// controller type a scene file names, and of each class a caller may create.

#include "memoryhost/MemoryController.h"

#include <optional>
#include <string_view>

namespace vx {

struct MemoryControllerClass {
    HostClassId classId;
    MemoryValueType type = MemoryValueType::Float;
    MemoryControllerKind kind = MemoryControllerKind::Keys;
    // TCB rotation keys are relative to the key before them.
    bool relativeRotations = false;
};

// The class of the scene file's controller type name ("linear", "bezier", "tcb", "smooth", "xyz",
// "euler", "path") for a value of type; nullopt when that type has no such controller ("other" has
// no class of its own: the file gives it).
std::optional<MemoryControllerClass> FindControllerClassByName(std::string_view name, MemoryValueType type);

// The key-frame, XYZ and Euler class of classId, as Host::CreateController makes it; nullopt for
// any other identifier.
std::optional<MemoryControllerClass> FindCreatableControllerClass(HostClassId classId);

} // namespace vx
