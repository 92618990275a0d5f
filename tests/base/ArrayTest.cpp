#include "base/Array.h"

#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using vx::Array;

// The MaxItems values an array passes through while n elements are appended one by one.
template <class T> std::vector<uint32_t> GrowthSteps(Array<T>& array, int n)
{
    std::vector<uint32_t> steps;
    for (int i = 0; i < n; ++i) {
        array.Append(T());
        if (steps.empty() || steps.back() != array.MaxItems())
            steps.push_back(array.MaxItems());
    }
    return steps;
}

TEST(Array, GrowsBySixteenUpTo1040ThenDoubles)
{
    Array<int> array;
    EXPECT_EQ(array.GrowBy(), 16u);
    EXPECT_EQ(array.GetData(), nullptr);
    std::vector<uint32_t> expected;
    for (uint32_t m = 16; m <= 1040; m += 16)
        expected.push_back(m);
    expected.push_back(2080);
    expected.push_back(4160);
    EXPECT_EQ(GrowthSteps(array, 4000), expected);
    for (uint32_t i = 0; i < array.Count(); ++i)
        ASSERT_EQ(array[i], 0);
}

TEST(Array, GrowByZeroDoublesAndNeedsStorage)
{
    vxtest::DebugCapture capture;
    Array<int> array;
    array.SetGrowBy(0);
    EXPECT_NE(capture.Text().find("Assertion failed: d||MaxItems,"), std::string::npos);
    EXPECT_EQ(array.GrowBy(), 16u);

    array.Append(1);
    capture.Clear();
    array.SetGrowBy(0);
    EXPECT_EQ(capture.Text(), "");
    EXPECT_EQ(GrowthSteps(array, 100), (std::vector<uint32_t> {16, 32, 64, 128}));

    Array<int> small;
    small.SetGrowBy(4);
    EXPECT_EQ(GrowthSteps(small, 20), (std::vector<uint32_t> {4, 8, 12, 16, 20}));
}

TEST(Array, ReserveAndSetCount)
{
    Array<int> array;
    array.Reserve(5);
    EXPECT_EQ(array.MaxItems(), 5u);
    array.Reserve(3);
    EXPECT_EQ(array.MaxItems(), 5u);
    array.Append(7);
    array.SetCount(40);
    EXPECT_EQ(array.MaxItems(), 40u);
    EXPECT_EQ(array.Count(), 40u);
    EXPECT_EQ(array[0], 7);
    EXPECT_EQ(array[39], 0);
    array.SetCount(2);
    EXPECT_EQ(array.Count(), 2u);
    EXPECT_EQ(array.MaxItems(), 40u);
}

TEST(Array, SizesBeyondThirtyTwoBitsThrowBeforeAllocating)
{
    Array<int> array;
    const std::size_t tooMany = std::size_t(std::numeric_limits<uint32_t>::max()) + 1;
    EXPECT_THROW(array.Reserve(tooMany), std::bad_alloc);
    EXPECT_THROW(array.SetCount(std::numeric_limits<std::size_t>::max()), std::bad_alloc);
    EXPECT_EQ(array.MaxItems(), 0u);
    EXPECT_EQ(array.Count(), 0u);
}

TEST(Array, PeekAndPopOnAnEmptyArrayReportAndStaySafe)
{
    vxtest::DebugCapture capture;
    Array<std::string> array;
    EXPECT_EQ(array.Peek(), nullptr);
    EXPECT_EQ(array.Pop(), "");
    EXPECT_NE(capture.Text().find("Assertion failed: NumItems,"), std::string::npos);
    EXPECT_EQ(array.Count(), 0u);

    array.Append("a");
    array.Append("b");
    EXPECT_EQ(*array.Peek(), "b");
    EXPECT_EQ(array.Pop(), "b");
    EXPECT_EQ(array.Count(), 1u);
    EXPECT_THROW(array.GetNo(1), std::out_of_range);
}

// Counts live objects so that leaks and double destruction show.
struct Tracked {
    static int live;
    std::string text;
    Tracked() { ++live; }
    Tracked(const char* t)
        : text(t)
    {
        ++live;
    }
    Tracked(const Tracked& other)
        : text(other.text)
    {
        ++live;
    }
    Tracked(Tracked&& other) noexcept
        : text(std::move(other.text))
    {
        ++live;
    }
    Tracked& operator=(const Tracked&) = default;
    Tracked& operator=(Tracked&&) = default;
    ~Tracked() { --live; }
};
int Tracked::live = 0;

TEST(Array, NonTrivialElementsAreConstructedMovedAndDestroyed)
{
    {
        Array<Tracked> array;
        for (int i = 0; i < 100; ++i)
            array.Append(std::to_string(i).c_str());
        EXPECT_EQ(Tracked::live, 100);
        // An element of the array appended while the array must grow.
        while (array.Count() < array.MaxItems())
            array.Append("fill");
        array.Append(array[3]);
        EXPECT_EQ(array.GetNo(array.Count() - 1).text, "3");

        Array<Tracked> copy(array);
        copy[0].text = "changed";
        EXPECT_EQ(array[0].text, "0");
        EXPECT_EQ(Tracked::live, 2 * static_cast<int>(array.Count()));

        array.RemoveAt(0);
        EXPECT_EQ(array[0].text, "1");
        array.SetCount(10);
        Tracked popped = array.Pop();
        EXPECT_EQ(popped.text, "10");
        Array<Tracked> moved(std::move(copy));
        EXPECT_EQ(copy.Count(), 0u);
        EXPECT_EQ(moved[0].text, "changed");
        moved = array;
        EXPECT_EQ(moved.Count(), 9u);
    }
    EXPECT_EQ(Tracked::live, 0);
}

} // namespace
