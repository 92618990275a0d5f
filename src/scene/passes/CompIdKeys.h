#pragma once
// The key texts of the composite-identifier passes. Numbers are upper-case hexadecimal of 32-bit
// integers (negative ones as their two's complement); a value beyond the 32-bit range gives the
// nearest end, and a non-finite value gives "NAN", "INF" or "-INF", which no finite value gives.

#include <string>

namespace vx {

class HostNode;

// Nodes with equal keys show the same geometry: the object and material pieces of the object
// signature (full-width addresses, so distinct objects never share a key), then "[%X,%X,%X]" of the
// object offset position in millimetres (rounded), of the x, y and z parts of the object offset rotation
// times 1000 and of the object offset scale times 1000, each truncated toward zero, then "{" + FactoryKey +
// "}": nodes that become different things never share.
std::string GeometryKey(const HostNode& node);

// The user-property lines that decide what the node factory makes of a node, in a fixed order,
// each as "key rest\n": the null-node keys ("ZRSpace" ... "ZRIsFloor"), "ZRInstance" with its
// template, "VNXPart", "VNXScalable", "VNXExtrudable". Empty for a node with none of them.
std::string FactoryKey(const HostNode& node);

// The node's transform relative to its parent at frame 0: "[" + the four rows of
// node transform x inverse (parent transform) joined by "," + "]", each row "%X,%X,%X" of its
// values rounded (floor (v + 0.5)); the three axis rows are multiplied by 1000 first and the
// translation is taken in millimetres (host units times the current scene context's scale factor,
// 1 m per unit without one).
std::string TransformKey(const HostNode& node);

// One number of a key: value as a 32-bit integer, truncated toward zero or rounded to the nearest
// (halves up), in "%X".
std::string KeyNumber(double value, bool rounded);

} // namespace vx
