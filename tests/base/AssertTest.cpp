#include "base/Assert.h"

#include "support/DebugCapture.h"

#include <gtest/gtest.h>

TEST(Assert, ReportsConditionFileAndLineAndContinues)
{
    vxtest::DebugCapture capture;
    const int line = __LINE__ + 1;
    const bool held = VX_ASSERT_TEXT(1 + 1 == 3, "NumItems");
    EXPECT_FALSE(held);
    const std::string expected
        = std::string("\r\nAssertion failed in 27to30: Assertion failed: NumItems, file .\\AssertTest.cpp")
        + ", line " + std::to_string(line) + "\r\n\r\n";
    EXPECT_EQ(capture.Text(), expected);
}

TEST(Assert, NamesTheSourceWithoutTheFoldersOfTheBuildMachine)
{
    const struct {
        const char* file;
        const char* named;
    } cases[] = {{"/home/build/src/database/ModelDescription.cpp", ".\\ModelDescription.cpp"},
        {"C:\\src\\SQL\\WriteToSQL.cpp", ".\\WriteToSQL.cpp"}, {"Plain.cpp", ".\\Plain.cpp"},
        {nullptr, ".\\"}};
    for (const auto& c : cases) {
        vxtest::DebugCapture capture;
        vx::ReportAssertion("x", c.file, 7);
        EXPECT_NE(capture.Text().find(std::string(", file ") + c.named + ", line 7"), std::string::npos)
            << capture.Text();
    }
}

TEST(Assert, SilentWhenTheConditionHolds)
{
    vxtest::DebugCapture capture;
    EXPECT_TRUE(VX_ASSERT(2 > 1));
    EXPECT_EQ(capture.Text(), "");
}
