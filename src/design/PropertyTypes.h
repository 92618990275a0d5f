#pragma once
// The type codes of design properties and group entries in the property dictionary.

#include <cstdint>

namespace ZR {

// "ElectricalConnection", "LibraryQueue", "ExcessCableBox", "Mantle", "Cutout".
constexpr int32_t PROPERTY_TYPE_MARKER = 256;
// "ImportTemplate" with the text "Release": the object can be imported as a library object.
constexpr int32_t PROPERTY_TYPE_IMPORT_TEMPLATE = 257;
// "Thumbnail" and the "View2D_..." pictures.
constexpr int32_t PROPERTY_TYPE_PICTURE = 259;
// "GenPOC".
constexpr int32_t PROPERTY_TYPE_GENPOC = 512;
// "Slope", and every user-defined property of a host node, stored as text.
constexpr int32_t PROPERTY_TYPE_TEXT = 513;
// "Ic_code".
constexpr int32_t PROPERTY_TYPE_IC_CODE = 1153;
// "AnimationData": the name of the animation data file of an instance and of its target.
constexpr int32_t PROPERTY_TYPE_ANIMATION_DATA = 4096;

// Group entries by group type text; any other type text has GROUP_TYPE_OTHER.
constexpr int32_t GROUP_TYPE_CONFIGURATION = 640;
constexpr int32_t GROUP_TYPE_SYSTEM = 641;
constexpr int32_t GROUP_TYPE_EDITGROUP = 642;
constexpr int32_t GROUP_TYPE_LINKGROUP = 643;
constexpr int32_t GROUP_TYPE_OTHER = 0;

} // namespace ZR
