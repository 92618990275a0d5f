#pragma once
// The host controller classes the key-frame export recognises, by class identifier.

#include "host/HostClassId.h"

namespace vx {

inline constexpr HostClassId kLinearFloatClass {0x2001, 0};
inline constexpr HostClassId kLinearPositionClass {0x2002, 0};
inline constexpr HostClassId kLinearRotationClass {0x2003, 0};
inline constexpr HostClassId kLinearScaleClass {0x2004, 0};
inline constexpr HostClassId kBezierFloatClass {0x2007, 0};
inline constexpr HostClassId kBezierPositionClass {0x2008, 0};
inline constexpr HostClassId kSmoothRotationClass {0x2009, 0};
inline constexpr HostClassId kBezierPointClass {0x200A, 0};
inline constexpr HostClassId kBezierScaleClass {0x2010, 0};
// Bezier-keyed and the path constraint at once.
inline constexpr HostClassId kPathConstraintClass {0x2011, 0};
inline constexpr HostClassId kEulerXyzClass {0x2012, 0};
inline constexpr HostClassId kEulerXyzClass2 {0x2018, 0};
inline constexpr HostClassId kTcbFloatClass {0x442311, 0};
inline constexpr HostClassId kTcbPositionClass {0x442312, 0};
inline constexpr HostClassId kTcbRotationClass {0x442313, 0};
inline constexpr HostClassId kTcbPointClass {0x442314, 0};

// The XYZ position classes.
bool IsXyzPositionClass(const HostClassId& id);
// The Euler XYZ rotation classes.
bool IsEulerClass(const HostClassId& id);
// Linear, Bezier or TCB float.
bool IsKeyFloatClass(const HostClassId& id);
// The classes whose keys the export reads directly: linear float, position, rotation and scale;
// the Bezier position-like classes (not the path constraint) and smooth rotation; Bezier scale; the
// TCB position-like classes and TCB rotation.
bool IsKeyControllerClass(const HostClassId& id);

} // namespace vx
