#include "base/Rotation.h"
#include "base/Quaternion.h"
#include "base/Transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using vx::Rotation;
using vx::Vector3;

void ExpectNear(const Rotation& actual, const Rotation& expected)
{
    const Vector3 a[3] = {actual.R0, actual.R1, actual.R2};
    const Vector3 e[3] = {expected.R0, expected.R1, expected.R2};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(a[i].x, e[i].x, 1e-6f) << "row " << i;
        EXPECT_NEAR(a[i].y, e[i].y, 1e-6f) << "row " << i;
        EXPECT_NEAR(a[i].z, e[i].z, 1e-6f) << "row " << i;
    }
}

TEST(Vector3, LengthIsExactForLargeAndSmallComponents)
{
    EXPECT_EQ(vx::Length({3.0f, 4.0f, 12.0f}), 13.0L);
    // The squares overflow float but not the extended precision the length is taken in.
    EXPECT_EQ(vx::Length({2e38f, 2e38f, 1e38f}), 3.0L * static_cast<long double>(1e38f));
    EXPECT_GT(vx::Length({1e-30f, 0.0f, 0.0f}), 0.0L);
}

TEST(Rotation, RowsCarryLocalAxesAndTransformsAddThePosition)
{
    const Rotation rows {{0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 0.0f}};
    EXPECT_EQ(vx::ApplyRows(rows, {1.0f, 0.0f, 0.0f}), rows.R0);
    EXPECT_EQ(vx::ApplyRows(rows, {0.0f, 0.0f, 1.0f}), rows.R2);
    EXPECT_EQ(vx::ApplyRows(rows, {1.0f, 2.0f, 3.0f}), (Vector3 {3.0f, 2.0f, -1.0f}));
    const vx::Transform t {rows, {10.0f, 20.0f, 30.0f}};
    EXPECT_EQ(vx::ApplyTransform(t, {1.0f, 2.0f, 3.0f}), (Vector3 {13.0f, 22.0f, 29.0f}));
}

TEST(Rotation, ProductAppliesTheLeftFactorFirst)
{
    const Rotation a {{1.0f, 2.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
    const Rotation b {{1.0f, 0.0f, 0.0f}, {3.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
    EXPECT_EQ(vx::Multiply(a, b), (Rotation {{7.0f, 2.0f, 0.0f}, {3.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}}));
    EXPECT_EQ(vx::Multiply(b, a), (Rotation {{1.0f, 2.0f, 0.0f}, {3.0f, 7.0f, 0.0f}, {0.0f, 0.0f, 1.0f}}));
    const Vector3 p {1.0f, -2.0f, 0.5f};
    EXPECT_EQ(vx::ApplyRows(vx::Multiply(a, b), p), vx::ApplyRows(b, vx::ApplyRows(a, p)));
}

TEST(Rotation, InverseUndoesTheRows)
{
    const Rotation cases[] = {
        {{2.0f, 0.0f, 0.0f}, {0.0f, 4.0f, 0.0f}, {0.0f, 0.0f, 8.0f}},
        {{0.8660254f, 0.5f, 0.0f}, {-1.0f, 1.7320508f, 0.0f}, {0.0f, 0.0f, 3.0f}},
        {{1.0f, 2.0f, 3.0f}, {0.0f, 1.0f, 4.0f}, {5.0f, 6.0f, 0.0f}},
    };
    for (const Rotation& m : cases)
        ExpectNear(vx::Multiply(m, vx::Inverse(m)), vx::IdentityRotation());
    EXPECT_EQ(
        vx::Inverse(cases[0]), (Rotation {{0.5f, 0.0f, 0.0f}, {0.0f, 0.25f, 0.0f}, {0.0f, 0.0f, 0.125f}}));
}

TEST(Rotation, InverseOfASingularMatrixIsItsAdjugate)
{
    const Rotation singular {{1.0f, 2.0f, 3.0f}, {2.0f, 4.0f, 6.0f}, {0.0f, 0.0f, 1.0f}};
    EXPECT_EQ(
        vx::Inverse(singular), (Rotation {{4.0f, -2.0f, 0.0f}, {-2.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 0.0f}}));
    const Rotation zero {{}, {}, {}};
    EXPECT_EQ(vx::Inverse(zero), zero);
}

TEST(Rotation, NormaliseIfNeededLeavesNearUnitAndZeroRows)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        Vector3 row;
        Vector3 expected;
    } cases[] = {
        {{1.000001f, 0.0f, 0.0f}, {1.000001f, 0.0f, 0.0f}},
        {{0.0f, 2.0f, 0.0f}, {0.0f, 1.0f, 0.0f}},
        {{3.0f, 0.0f, -4.0f}, {0.6f, 0.0f, -0.8f}},
        {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
        {{1e-30f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}},
    };
    for (const auto& c : cases) {
        Vector3 row = c.row;
        vx::NormaliseIfNeeded(row, vx::Length(row));
        EXPECT_EQ(row, c.expected) << c.row.x << " " << c.row.y << " " << c.row.z;
    }
    Vector3 broken {nan, 1.0f, 0.0f};
    vx::NormaliseIfNeeded(broken, vx::Length(broken));
    EXPECT_TRUE(std::isnan(broken.x) && std::isnan(broken.y));
}

TEST(Quaternion, NormaliseGivesUnitLengthAndIdentityForZero)
{
    const struct {
        vx::Quaternion q;
        vx::Quaternion expected;
    } cases[] = {
        {{0.0f, 0.0f, 3.0f, 4.0f}, {0.0f, 0.0f, 0.6f, 0.8f}},
        {{1.0f, -1.0f, 1.0f, -1.0f}, {0.5f, -0.5f, 0.5f, -0.5f}},
        {{0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vx::NormaliseQuaternion(c.q), c.expected);
}

} // namespace
