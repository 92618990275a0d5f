#include "base/UnitScale.h"

#include <bit>
#include <cstdint>

namespace vx {

namespace {

UnitScale Scale(float factor, bool scaled)
{
    return {factor, UniformScaleTransform(factor), scaled};
}

} // namespace

UnitScale LookUpUnitScale(int hostUnitCode)
{
    switch (hostUnitCode) {
    case 0:
        return Scale(0.0254f, true);
    case 1:
        return Scale(0.3048f, true);
    case 2:
        return Scale(1609.344f, true);
    case 3:
        return Scale(0.001f, true);
    case 4: {
        UnitScale centimetres = Scale(0.01f, true);
        centimetres.unitScale = UniformScaleTransform(std::bit_cast<float>(std::uint32_t {0x3C23D70Bu}));
        return centimetres;
    }
    case 6:
        return Scale(1000.0f, true);
    default:
        // Metres and codes the exporter does not know.
        return Scale(1.0f, false);
    }
}

} // namespace vx
