#include "toolkit/VMMessages.h"

#include <gtest/gtest.h>

#include <string>

namespace vx {
namespace {

TEST(Messages, GoToTheSinkWithCountsByKindAndAreDroppedWithout)
{
    ResetMessageCounts();
    ReportWarning("nobody listens");
    EXPECT_EQ(GetMessageCounts().warnings, 0);

    std::string lines;
    {
        ScopedMessageSink sink([&lines](VMMessageKind kind, std::string_view text) {
            lines += MessagePrefix(kind) + std::string(text) + "\n";
        });
        ReportInformation("a");
        ReportWarning("b");
        ReportWarning("c");
        ReportError("d");
    }
    ReportError("after");
    EXPECT_EQ(lines, "Information: a\nWarning: b\nWarning: c\nError: d\n");
    const VMMessageCounts counts = GetMessageCounts();
    EXPECT_EQ(counts.information, 1);
    EXPECT_EQ(counts.warnings, 2);
    EXPECT_EQ(counts.errors, 1);
    ResetMessageCounts();
    EXPECT_EQ(GetMessageCounts().errors, 0);
}

} // namespace
} // namespace vx
