#include "vxexport/OutcomeReport.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(OutcomeReport, EndsWithTheRunsWarningAndErrorCounts)
{
    ExportOutcome outcome;
    outcome.status = ExportStatus::Succeeded;
    outcome.logPath = "out/house.vx.log";
    EXPECT_EQ(FormatOutcomeReport(outcome, {true, false}), "");

    outcome.warningCount = 2;
    EXPECT_EQ(FormatOutcomeReport(outcome, {false, false}),
        "vxexport: 2 warnings, 0 errors (log: out/house.vx.log)\n");
    outcome.errorCount = 1;
    outcome.warningCount = 1;
    EXPECT_EQ(FormatOutcomeReport(outcome, {true, false}),
        "vxexport: 1 warning, 1 error (log: out/house.vx.log)\n");
    EXPECT_EQ(FormatOutcomeReport(outcome, {true, true}), ""); // quiet

    // After the run's own report.
    outcome.status = ExportStatus::Cancelled;
    EXPECT_EQ(FormatOutcomeReport(outcome, {true, false}),
        "vxexport: the export was cancelled\nvxexport: 1 warning, 1 error (log: out/house.vx.log)\n");
}

} // namespace
} // namespace vx
