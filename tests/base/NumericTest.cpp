#include "base/Numeric.h"

#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(Numeric, NearZeroIsAMagnitudeBelowTwoToTheMinus16)
{
    const float limit = std::ldexp(1.0f, -16);
    const struct {
        float value;
        bool nearZero;
    } cases[] = {
        {0.0f, true},
        {-0.0f, true},
        {std::numeric_limits<float>::denorm_min(), true},
        {-1e-6f, true},
        {std::nextafter(limit, 0.0f), true},
        {-std::nextafter(limit, 0.0f), true},
        {limit, false},
        {-limit, false},
        {1e-4f, false},
        {std::numeric_limits<float>::infinity(), false},
        {std::numeric_limits<float>::quiet_NaN(), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vx::_feqz(c.value), c.nearZero) << c.value;
        EXPECT_EQ(vx::_feqz(static_cast<double>(c.value)), c.nearZero) << c.value;
    }
    // Below float's precision near the limit: only the double test sees these.
    EXPECT_TRUE(vx::_feqz(std::nextafter(std::ldexp(1.0, -16), 0.0)));
    EXPECT_FALSE(vx::_feqz(std::ldexp(1.0, -16)));
}

TEST(Numeric, FiniteCheckReportsSuspiciousMagnitudes)
{
    const struct {
        double value;
        bool finite;
        const char* report;
    } cases[] = {
        {6e9, true, "\r\nSuspiciously large value 6.00000e+09\r\n\r\n"},
        {-7.5e12, true, "\r\nSuspiciously large value -7.50000e+12\r\n\r\n"},
        {5e9, true, ""},
        {-5e9, true, ""},
        {1.0, true, ""},
        {kInf, false, ""},
        {-kInf, false, ""},
        {kNaN, false, ""},
    };
    for (const auto& c : cases) {
        vxtest::DebugCapture capture;
        EXPECT_EQ(vx::myFinite(c.value), c.finite) << c.value;
        EXPECT_EQ(capture.Text(), c.report) << c.value;
    }
}

TEST(Numeric, RoundGoesHalvesAwayFromZeroAndSaturates)
{
    const struct {
        double value;
        std::int64_t rounded;
    } cases[] = {
        {1.5, 2},
        {-1.5, -2},
        {2.5, 3},
        {-200000.9, -200001},
        {-0.4, 0},
        {0.49999999999999994, 0},
        {4503599627370497.0, 4503599627370497},
        {9.3e18, kMax},
        {1e300, kMax},
        {-9223372036854775808.0, kMin},
        {-1e300, kMin},
    };
    vxtest::DebugCapture capture;
    for (const auto& c : cases)
        EXPECT_EQ(vx::round(c.value), c.rounded) << c.value;
    EXPECT_EQ(capture.Text(), "");
}

TEST(Numeric, NonFiniteValuesConvertToZeroWithAReport)
{
    vxtest::DebugCapture capture;
    EXPECT_EQ(vx::round(kInf), 0);
    EXPECT_EQ(capture.Text(), "\r\nNon-finite value inf converted to 0\r\n\r\n");
    capture.Clear();
    EXPECT_EQ(vx::TruncateToInt64(-kInf), 0);
    EXPECT_EQ(capture.Text(), "\r\nNon-finite value -inf converted to 0\r\n\r\n");
    capture.Clear();
    EXPECT_EQ(vx::RoundTo(kNaN, 0.1), 0.0);
    EXPECT_NE(capture.Text().find("Non-finite value "), std::string::npos);
}

TEST(Numeric, TruncationGoesTowardZero)
{
    EXPECT_EQ(vx::TruncateToInt64(-1.9), -1);
    EXPECT_EQ(vx::TruncateToInt64(1.9), 1);
    EXPECT_EQ(vx::TruncateToInt64(9223372036854775808.0), kMax);
    EXPECT_EQ(vx::TruncateToInt64(9223372036854774784.0), 9223372036854774784);
}

TEST(Numeric, RoundToHoldsTheScaledValueAsAFloat)
{
    const struct {
        double value;
        double step;
        std::int64_t steps;
    } cases[] = {
        {-0.05, 0.1, -1},
        {0.04999, 0.1, 0},
        {0.05, 0.1, 1},
        // 0.49999999 is held as the float 0.5, so it rounds up where double arithmetic would not.
        {0.049999999, 0.1, 1},
        {89.99999, 0.1, 900},
        {-90.04, 0.1, -900},
        {-0.0, 0.1, 0},
        {1.23456, 0.001, 1235},
        {-1.0005, 0.001, -1001},
        {1e30, 0.1, kMax},
        {-1e300, 0.1, kMin},
    };
    vxtest::DebugCapture capture;
    for (const auto& c : cases) {
        const double rounded = vx::RoundTo(c.value, c.step);
        EXPECT_EQ(rounded, static_cast<double>(c.steps) * c.step) << c.value;
        EXPECT_FALSE(std::signbit(rounded) && rounded == 0.0) << c.value;
    }
    EXPECT_EQ(capture.Text(), "");
    EXPECT_EQ(vx::RoundTo(-0.05, 0.1), -0.1);
}

TEST(Numeric, RoundToRejectsAStepThatIsNotPositive)
{
    vxtest::DebugCapture capture;
    EXPECT_EQ(vx::RoundTo(1.25, 0.0), 1.25);
    EXPECT_NE(capture.Text().find("Assertion failed: step>0"), std::string::npos);
}

} // namespace
