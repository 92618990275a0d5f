#include "base/UnitScale.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace {

TEST(UnitScale, FactorsByHostUnitCode)
{
    const struct {
        int code;
        float factor;
        bool scaled;
    } cases[] = {
        {0, 0.0254f, true},
        {1, 0.3048f, true},
        {2, 1609.344f, true},
        {3, 0.001f, true},
        {4, 0.01f, true},
        {5, 1.0f, false},
        {6, 1000.0f, true},
        {7, 1.0f, false},
        {-1, 1.0f, false},
    };
    for (const auto& c : cases) {
        const vx::UnitScale scale = vx::LookUpUnitScale(c.code);
        EXPECT_EQ(scale.scaleFactor, c.factor) << c.code;
        EXPECT_EQ(scale.scaled, c.scaled) << c.code;
        if (c.code != 4) {
            EXPECT_EQ(scale.unitScale, vx::UniformScaleTransform(c.factor)) << c.code;
        }
    }
}

TEST(UnitScale, CentimetreTransformIsOneStepAboveTheStoredFactor)
{
    const vx::UnitScale scale = vx::LookUpUnitScale(4);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(scale.scaleFactor), 0x3C23D70Au);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(scale.unitScale.rows.R1.y), 0x3C23D70Bu);
    EXPECT_EQ(scale.unitScale.rows.R0.y, 0.0f);
    EXPECT_EQ(scale.unitScale.position, (vx::Vector3 {}));
}

TEST(UnitScale, MillimetresUntilTheHostUnitIsKnown)
{
    const vx::UnitScale scale = vx::DefaultUnitScale();
    EXPECT_EQ(scale.scaleFactor, 0.001f);
    EXPECT_EQ(scale.unitScale, vx::UniformScaleTransform(0.001f));
}

} // namespace
