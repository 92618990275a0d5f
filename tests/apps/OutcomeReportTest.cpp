#include "vxexport/OutcomeReport.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

ExportOutcome MakeOutcome(ExportStatus status)
{
    ExportOutcome outcome;
    outcome.status = status;
    outcome.logPath = "out/house.vx.log";
    return outcome;
}

TEST(OutcomeReport, WithoutPromptsFailedObjectsAreNamedOnStderr)
{
    ExportOutcome outcome = MakeOutcome(ExportStatus::FinishedWithFailures);
    outcome.failedNames = {"Wall", "- no name -", "evil\x1b]0;title\x07"};
    const std::string expected = "vxexport: 3 objects could not be converted (log: out/house.vx.log):\n"
                                 "  Wall\n"
                                 "  - no name -\n"
                                 "  evil?]0;title?\n";
    EXPECT_EQ(FormatOutcomeReport(outcome, {true, false}), expected);
    EXPECT_EQ(FormatOutcomeReport(outcome, {true, true}), expected);
    // With prompts the "Warning" box has told the user already.
    EXPECT_EQ(FormatOutcomeReport(outcome, {false, false}), "");
}

TEST(OutcomeReport, SaysWhatTheBoxesCouldNot)
{
    struct Case {
        ExportStatus status;
        OutcomeReportContext context;
        std::string report;
    };
    const Case cases[] = {
        {ExportStatus::Succeeded, {true, false}, ""},
        {ExportStatus::NoValidObjects, {true, false},
            "vxexport: nothing exported: No valid objects have been found. (log: out/house.vx.log)\n"},
        {ExportStatus::NoValidObjects, {false, false}, ""},
        {ExportStatus::TargetInUse, {true, true},
            "vxexport: nothing exported: File is in use by another process. (log: out/house.vx.log)\n"},
        {ExportStatus::Cancelled, {false, false}, "vxexport: the export was cancelled\n"},
        {ExportStatus::Cancelled, {true, true}, ""},
        {ExportStatus::Failed, {false, true},
            "vxexport: the export failed: disk I/O error (log: out/house.vx.log)\n"},
    };
    for (const Case& c : cases) {
        ExportOutcome outcome = MakeOutcome(c.status);
        if (c.status == ExportStatus::Failed)
            outcome.detail = "disk I/O error";
        EXPECT_EQ(FormatOutcomeReport(outcome, c.context), c.report) << static_cast<int>(c.status);
    }
}

} // namespace
} // namespace vx
