#include "base/Placement.h"

#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using vx::Rotation;
using vx::Vector3;

constexpr float kCos30 = 0.8660254f;
constexpr float kSin30 = 0.5f;
constexpr float kSin120 = 0.8660254f;

// The tables state rows in the stored axis order (z up), which the angles describe;
// TransformToPlacement takes design-frame rows, the same rows with y and z exchanged.
Rotation DesignFrame(const Rotation& stored)
{
    const auto swap = [](const Vector3& v) { return Vector3 {v.x, v.z, v.y}; };
    return {swap(stored.R0), swap(stored.R2), swap(stored.R1)};
}

TEST(Placement, AnglesOfRotatedRows)
{
    const struct {
        const char* name;
        Rotation rows;
        float azimuth;
        float elevation;
        float twist;
    } cases[] = {
        {"identity", {}, 0.0f, 0.0f, 0.0f},
        {"azimuth 90: R2 along x", {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}, -90.0f, 0.0f, 0.0f},
        {"azimuth 30", {{kCos30, 0, -kSin30}, {0, 1, 0}, {kSin30, 0, kCos30}}, -30.0f, 0.0f, 0.0f},
        {"elevation 30", {{1, 0, 0}, {0, kCos30, -kSin30}, {0, kSin30, kCos30}}, 0.0f, 30.0f, 0.0f},
        {"R2.y beyond 1", {{1, 0, 0}, {0, 0, -1}, {0, 1.0000001f, 0}}, 0.0f, 90.0f, 0.0f},
        {"R2.y below -1", {{1, 0, 0}, {0, 0, 1}, {0, -1.0000001f, 0}}, 0.0f, -90.0f, 0.0f},
        {"twist 30", {{kCos30, kSin30, 0}, {-kSin30, kCos30, 0}, {0, 0, 1}}, 0.0f, 0.0f, -30.0f},
        // asin gives 60; R1 points down against the up vector, so the twist is 180 - 60.
        {"twist 120", {{-0.5f, kSin120, 0}, {-kSin120, -0.5f, 0}, {0, 0, 1}}, 0.0f, 0.0f, -120.0f},
        // asin gives -60; turned over it becomes 180 + 60.
        {"twist -120", {{-0.5f, -kSin120, 0}, {kSin120, -0.5f, 0}, {0, 0, 1}}, 0.0f, 0.0f, -240.0f},
        {"twist 180", {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}, 0.0f, 0.0f, -180.0f},
        {"azimuth 90, elevation 30", {{0, 0, -1}, {-kSin30, kCos30, 0}, {kCos30, kSin30, 0}}, -90.0f, 30.0f,
            0.0f},
    };
    vxtest::DebugCapture capture;
    for (const auto& c : cases) {
        const vx::PlacementAndSizes result = vx::TransformToPlacement(DesignFrame(c.rows), {});
        EXPECT_EQ(result.placement.azimuth, c.azimuth) << c.name;
        EXPECT_EQ(result.placement.elevation, c.elevation) << c.name;
        EXPECT_EQ(result.placement.twist, c.twist) << c.name;
        for (const float angle :
            {result.placement.azimuth, result.placement.elevation, result.placement.twist})
            EXPECT_FALSE(angle == 0.0f && std::signbit(angle)) << c.name << ": a stored zero is never -0";
    }
    EXPECT_EQ(capture.Text(), "");
}

TEST(Placement, ElevationBeyondTheLimitIsExactlyHalfPi)
{
    const vx::AzElTw angles = vx::DecomposeAzElTw({1, 0, 0}, {0, 0, -1}, {0, 1.0000001f, 0});
    EXPECT_EQ(angles.elevation, -1.5707964f);
    EXPECT_EQ(angles.azimuth, 0.0f);
    EXPECT_EQ(angles.twist, 0.0f);
}

TEST(Placement, PositionSizesAndAnglesComeInTheStoredAxisOrder)
{
    // Local x along -z in the design frame is local x along -y in the stored order: a turn of -90
    // degrees about the vertical axis, which the angles call a twist (stored negated).
    const Rotation turnedAboutDesignY {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}};
    const vx::PlacementAndSizes turned = vx::TransformToPlacement(turnedAboutDesignY, {});
    EXPECT_EQ(turned.placement, (vx::AnglePlacement {0, 0, 0, 0, 0, 90}));

    const Rotation scaled {{2, 0, 0}, {0, 3, 0}, {0, 0, 4}};
    const vx::PlacementAndSizes result = vx::TransformToPlacement(scaled, {1, 2, 3});
    EXPECT_EQ(result.placement, (vx::AnglePlacement {1, 3, 2, 0, 0, 0}));
    EXPECT_EQ(result.sizes, (Vector3 {2, 4, 3}));
}

TEST(Placement, ScaledRowsAreNormalisedBeforeTheAnglesAreTaken)
{
    // Azimuth 30 with a row of length 2 and one of length 1 + 1e-6 (left as it is); sizes come in
    // the stored order.
    const Rotation rows {{2 * kCos30, 0, -2 * kSin30}, {0, 1.000001f, 0}, {kSin30, 0, kCos30}};
    const vx::PlacementAndSizes result = vx::TransformToPlacement(DesignFrame(rows), {});
    EXPECT_EQ(result.placement.azimuth, -30.0f);
    EXPECT_EQ(result.placement.twist, 0.0f);
    EXPECT_FLOAT_EQ(result.sizes.x, 2.0f);
    EXPECT_FLOAT_EQ(result.sizes.y, 1.000001f);
}

TEST(Placement, ZeroRowsGiveZeroAnglesAndSizes)
{
    vxtest::DebugCapture capture;
    const vx::PlacementAndSizes allZero = vx::TransformToPlacement({{}, {}, {}}, {1, 2, 3});
    EXPECT_EQ(allZero.placement, (vx::AnglePlacement {1, 3, 2, 0, 0, 0}));
    EXPECT_EQ(allZero.sizes, (Vector3 {0, 0, 0}));
    // A collapsed local x axis: the other rows still decide azimuth and elevation.
    const vx::PlacementAndSizes flat
        = vx::TransformToPlacement(DesignFrame({{}, {0, kCos30, -kSin30}, {0, kSin30, kCos30}}), {});
    EXPECT_EQ(flat.placement.elevation, 30.0f);
    EXPECT_EQ(flat.placement.twist, 0.0f);
    EXPECT_EQ(capture.Text(), "");
}

TEST(Placement, NonFiniteRowsGiveZeroAnglesWithAReport)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    vxtest::DebugCapture capture;
    // Only the twist depends on R0.
    const vx::PlacementAndSizes twisted
        = vx::TransformToPlacement(DesignFrame({{nan, 0, 0}, {0, 1, 0}, {1, 0, 0}}), {});
    EXPECT_EQ(twisted.placement.azimuth, -90.0f);
    EXPECT_EQ(twisted.placement.twist, 0.0f);
    EXPECT_NE(capture.Text().find("Non-finite value "), std::string::npos);

    capture.Clear();
    const vx::PlacementAndSizes broken
        = vx::TransformToPlacement(DesignFrame({{1, 0, 0}, {0, 1, 0}, {inf, 0, 0}}), {nan, 0, 0});
    EXPECT_EQ(broken.placement.azimuth, 0.0f);
    EXPECT_EQ(broken.placement.elevation, 0.0f);
    EXPECT_EQ(broken.placement.twist, 0.0f);
    EXPECT_TRUE(std::isnan(broken.placement.x));
    EXPECT_TRUE(std::isinf(broken.sizes.z));
    EXPECT_NE(capture.Text().find("Non-finite value "), std::string::npos);
}

} // namespace
