#pragma once
// The user property keys and log texts of the scene collection.

namespace vx {

// Keys that make a node a null node, in the order they are tested.
inline constexpr const char* kNullNodeKeys[]
    = {"ZRSpace", "ZRGlobalBlock", "ZRdbBox", "ZRdbArea", "ZRIsLOD", "ZRIsFloor"};
inline constexpr const char* kKeyInstance = "ZRInstance";
inline constexpr const char* kKeyCompId = "COMPID";
inline constexpr const char* kKeyGeomId = "GEOMID";
inline constexpr const char* kKeyPart = "VNXPart";
inline constexpr const char* kKeyScalable = "VNXScalable";
inline constexpr const char* kKeyExtrudable = "VNXExtrudable";

// The group every group instance joins in per-object mode.
inline constexpr const char* kSystemGroupType = "System";

inline constexpr const char* kLogReferencedNodeFailed = "Failed to process referenced node with name: ";

} // namespace vx
