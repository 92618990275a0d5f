#include "host/HostMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vx {
namespace {

constexpr float kHalfPi = static_cast<float>(std::numbers::pi / 2);

void ExpectNear(const HostPoint3& actual, const HostPoint3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

HostMatrix3 MakeMatrix(HostPoint3 r0, HostPoint3 r1, HostPoint3 r2, HostPoint3 t)
{
    HostMatrix3 m;
    m.rows = {r0, r1, r2, t};
    return m;
}

TEST(HostMath, ProductAppliesTheLeftMatrixFirst)
{
    // Scale by 2, then turn 90 degrees about z, then move by (10, 0, 0).
    const HostMatrix3 scale = MakeScaleMatrix({2, 2, 2});
    const HostMatrix3 turn = MakeRotationMatrix(MakeQuatFromAxisAngle({0, 0, 1}, kHalfPi));
    const HostMatrix3 move = MakeTranslationMatrix({10, 0, 0});
    const HostMatrix3 all = scale * turn * move;
    // x -> (2, 0, 0) -> (0, 2, 0) -> (10, 2, 0): the turn is counter-clockwise about z.
    ExpectNear(HostPoint3 {1, 0, 0} * all, {10, 2, 0});
    ExpectNear(TransformVector({1, 0, 0}, all), {0, 2, 0});
}

TEST(HostMath, InverseUndoesTheTransform)
{
    const HostMatrix3 m = MakeMatrix({1, 2, 0}, {0, 1, 3}, {4, 0, 1}, {5, -6, 7});
    const HostMatrix3 product = m * Inverse(m);
    EXPECT_TRUE(AreNearlyEqual(product, HostMatrix3::Identity(), 1e-5f));
    ExpectNear(HostPoint3 {3, 2, 1} * m * Inverse(m), {3, 2, 1}, 1e-4f);
}

TEST(HostMath, InverseOfASingularMatrixStaysFinite)
{
    const HostMatrix3 inverse = Inverse(MakeScaleMatrix({1, 0, 1}) * MakeTranslationMatrix({1, 2, 3}));
    for (const HostPoint3& row : inverse.rows) {
        EXPECT_TRUE(std::isfinite(row.x) && std::isfinite(row.y) && std::isfinite(row.z));
    }
}

TEST(HostMath, QuaternionAndMatrixAgree)
{
    const HostQuat q = MakeQuatFromAxisAngle({1, 2, 3}, 0.7f);
    const HostQuat back = MakeQuatFromMatrix(MakeRotationMatrix(q));
    EXPECT_NEAR(back.x, q.x, 1e-6f);
    EXPECT_NEAR(back.y, q.y, 1e-6f);
    EXPECT_NEAR(back.z, q.z, 1e-6f);
    EXPECT_NEAR(back.w, q.w, 1e-6f);
    // A half turn keeps w >= 0 and its axis.
    const HostQuat half
        = MakeQuatFromMatrix(MakeRotationMatrix(MakeQuatFromAxisAngle({0, 1, 0}, 2 * kHalfPi)));
    EXPECT_NEAR(std::abs(half.y), 1.0f, 1e-6f);
    EXPECT_NEAR(half.w, 0.0f, 1e-6f);
}

TEST(HostMath, DecomposeGivesAxisScaleRotationAndTranslation)
{
    const HostQuat turn = MakeQuatFromAxisAngle({0, 0, 1}, 0.5f);
    const HostMatrix3 m
        = MakeScaleMatrix({2, 3, 4}) * MakeRotationMatrix(turn) * MakeTranslationMatrix({7, 8, 9});
    const HostAffineParts parts = DecomposeAffine(m);
    ExpectNear(parts.k, {2, 3, 4});
    ExpectNear(parts.t, {7, 8, 9});
    EXPECT_FLOAT_EQ(parts.f, 1.0f);
    EXPECT_NEAR(parts.q.z, turn.z, 1e-5f);
    EXPECT_NEAR(parts.q.w, turn.w, 1e-5f);
    EXPECT_NEAR(parts.u.w, 1.0f, 1e-5f);
}

TEST(HostMath, DecomposeAndComposeRoundTrip)
{
    struct Case {
        const char* what;
        HostMatrix3 m;
    };
    const Case cases[] = {
        {"identity", HostMatrix3::Identity()},
        {"uniform scale", MakeScaleMatrix({5, 5, 5}) * MakeTranslationMatrix({1, 2, 3})},
        {"mirror", MakeScaleMatrix({-1, 1, 1}) * MakeRotationMatrix(MakeQuatFromAxisAngle({1, 1, 0}, 1.0f))},
        {"shear", MakeMatrix({1, 0.5f, 0}, {0, 1, 0.25f}, {0.1f, 0, 2}, {4, 5, 6})},
        {"scale along a turned axis",
            MakeRotationMatrix(MakeQuatFromAxisAngle({0, 0, 1}, 0.3f)) * MakeScaleMatrix({1, 4, 1})
                * MakeRotationMatrix(MakeQuatFromAxisAngle({0, 0, 1}, -0.3f))},
    };
    for (const Case& c : cases) {
        const HostAffineParts parts = DecomposeAffine(c.m);
        EXPECT_TRUE(AreNearlyEqual(ComposeAffine(parts), c.m, 1e-4f)) << c.what;
        EXPECT_GE(parts.k.x, 0.0f) << c.what;
    }
    EXPECT_FLOAT_EQ(DecomposeAffine(cases[2].m).f, -1.0f);
}

TEST(HostMath, DecomposeOfAZeroScaleIsFinite)
{
    const HostAffineParts parts = DecomposeAffine(MakeScaleMatrix({2, 0, 3}));
    ExpectNear(parts.k, {2, 0, 3});
    EXPECT_TRUE(std::isfinite(parts.q.x + parts.q.y + parts.q.z + parts.q.w));
    EXPECT_TRUE(std::isfinite(parts.u.x + parts.u.y + parts.u.z + parts.u.w));
}

TEST(HostMath, EmptyBoxGrowsToHoldItsPoints)
{
    HostBox3 box;
    EXPECT_TRUE(box.IsEmpty());
    EXPECT_EQ(box.min.x, 1e30f);
    EXPECT_EQ(box.max.x, -1e30f);
    box.Include({1, -2, 3});
    box.Include({-1, 5, 0});
    EXPECT_FALSE(box.IsEmpty());
    EXPECT_EQ(box.min, (HostPoint3 {-1, -2, 0}));
    EXPECT_EQ(box.max, (HostPoint3 {1, 5, 3}));
}

TEST(HostMath, NormalizeLeavesTheZeroVectorZero)
{
    EXPECT_EQ(Normalize({0, 0, 0}), (HostPoint3 {}));
    ExpectNear(Normalize({0, 3, 4}), {0, 0.6f, 0.8f});
}

} // namespace
} // namespace vx
