#include "memoryhost/MemoryControllerClasses.h"

#include <array>

namespace vx {

namespace {

struct NamedClass {
    std::string_view name;
    MemoryControllerClass controllerClass;
};

using T = MemoryValueType;
using K = MemoryControllerKind;

constexpr HostClassId kPositionXyz {0x118F7E02u, 0xFFEE238Au};

const std::array<NamedClass, 16> kClasses {{
    {"linear", {{0x2001, 0}, T::Float, K::Keys}},
    {"bezier", {{0x2007, 0}, T::Float, K::Keys}},
    {"tcb", {{0x442311, 0}, T::Float, K::Keys}},
    {"linear", {{0x2002, 0}, T::Position, K::Keys}},
    {"bezier", {{0x2008, 0}, T::Position, K::Keys}},
    {"tcb", {{0x442312, 0}, T::Position, K::Keys}},
    {"xyz", {kPositionXyz, T::Position, K::Xyz}},
    {"path", {{0x2011, 0}, T::Position, K::Path}},
    {"linear", {{0x2003, 0}, T::Rotation, K::Keys}},
    {"smooth", {{0x2009, 0}, T::Rotation, K::Keys}},
    {"tcb", {{0x442313, 0}, T::Rotation, K::Keys, true}},
    {"euler", {{0x2012, 0}, T::Rotation, K::Xyz}},
    {"linear", {{0x2004, 0}, T::Scale, K::Keys}},
    {"bezier", {{0x2010, 0}, T::Scale, K::Keys}},
    // Further key-frame classes a caller may create: the other Bezier position-like class and the
    // second TCB position-like class.
    {"", {{0x200A, 0}, T::Position, K::Keys}},
    {"", {{0x442314, 0}, T::Position, K::Keys}},
}};

} // namespace

std::optional<MemoryControllerClass> FindControllerClassByName(std::string_view name, MemoryValueType type)
{
    for (const NamedClass& c : kClasses)
        if (!name.empty() && c.name == name && c.controllerClass.type == type)
            return c.controllerClass;
    return std::nullopt;
}

std::optional<MemoryControllerClass> FindCreatableControllerClass(HostClassId classId)
{
    for (const NamedClass& c : kClasses)
        if (c.controllerClass.classId == classId && c.controllerClass.kind != K::Path)
            return c.controllerClass;
    return std::nullopt;
}

} // namespace vx
