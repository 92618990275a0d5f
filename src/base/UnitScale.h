#pragma once
// Metres per host scene unit, from the host's unit code. The run keeps the result as its scaling
// factor; the converters multiply every host length by it.

#include "base/Transform.h"

namespace vx {

struct UnitScale {
    // Metres per host unit.
    float scaleFactor = 0.001f;
    // The uniform scale transform of the same factor.
    Transform unitScale = UniformScaleTransform(0.001f);
    // True when the unit code asks for a factor other than 1 (codes 0 to 4 and 6).
    bool scaled = false;
};

// The scale before the host's unit is known: 0.001 (millimetres).
inline UnitScale DefaultUnitScale()
{
    return UnitScale {};
}

// The scale of a host unit code: 0 inches 0.0254, 1 feet 0.3048, 2 miles 1609.344,
// 3 millimetres 0.001, 4 centimetres 0.01, 5 metres 1, 6 kilometres 1000; any other code gives 1.
// For centimetres the transform uses the float just above the stored 0.01 (bits 0x3C23D70B).
UnitScale LookUpUnitScale(int hostUnitCode);

} // namespace vx
