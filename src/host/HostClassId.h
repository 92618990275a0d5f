#pragma once
// Class identifiers of host objects, materials, textures, shaders and controllers, and the super
// class codes that sort scene objects into families.

#include <cstdint>

namespace vx {

// A class identifier: two 32-bit words, compared as a pair.
struct HostClassId {
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    friend bool operator==(const HostClassId&, const HostClassId&) = default;
};

// Super class codes of scene objects.
enum HostSuperClass : std::uint32_t {
    kSuperClassDerivedObject = 2,
    kSuperClassWsmDerivedObject = 3,
    kSuperClassModifiedObject = 4,
    kSuperClassGeometry = 16,
    kSuperClassCamera = 32,
    kSuperClassLight = 48,
    kSuperClassShape = 64,
    kSuperClassHelper = 80,
};

// True for the super classes of objects that stand for a modifier stack over a base object.
constexpr bool IsDerivedSuperClass(std::uint32_t superClass)
{
    return superClass == kSuperClassDerivedObject || superClass == kSuperClassWsmDerivedObject
        || superClass == kSuperClassModifiedObject;
}

// Well-known classes.
inline constexpr HostClassId kClassTriangleMesh {9, 0};
inline constexpr HostClassId kClassEditableMesh {0xE44F10B3u, 0};
inline constexpr HostClassId kClassGroupHead {0x876234u, 0};
inline constexpr HostClassId kClassStandardMaterial {2, 0};
inline constexpr HostClassId kClassStandardMaterial2 {0x100, 0};
inline constexpr HostClassId kClassMultiMaterial {0x200, 0};
inline constexpr HostClassId kClassDoubleSidedMaterial {0x210, 0};
inline constexpr HostClassId kClassShellMaterial {0x255, 0};
inline constexpr HostClassId kClassBitmapTexture {0x240, 0};
inline constexpr HostClassId kClassCubeMapTexture {0x250, 0};

} // namespace vx
