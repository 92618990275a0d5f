// The library's answers inside the exporter layer: the description waits for the module handle,
// and an outcome survives its trip through the report view.

#include "exporter/PluginLibrary.h"
#include "exporter/ExportReportView.h"
#include "exporter/ModuleHandle.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(PluginLibrary, DescriptionIsNullUntilTheModuleHandleIsStored)
{
    StoreModuleHandle(nullptr);
    EXPECT_EQ(GetLibraryDescription(), nullptr);
    EXPECT_EQ(GetLibraryClassDesc(0)->HInstance(), nullptr);
    int anchor = 0;
    StoreModuleHandle(&anchor);
    EXPECT_STREQ(GetLibraryDescription(), "export to VX");
    EXPECT_EQ(GetLibraryClassDesc(0)->HInstance(), &anchor);
    StoreModuleHandle(nullptr);
}

TEST(ExportReportView, OutcomeCrossesAsPlainValues)
{
    ExportOutcome outcome;
    outcome.status = ExportStatus::FinishedWithFailures;
    outcome.failedNames = {"Box", "Tube"};
    outcome.logPath = "/t/out.vx.log";
    outcome.targetReplaced = true;
    outcome.detail = "detail";
    outcome.warningCount = 3;
    outcome.errorCount = 2;
    const ExportReportView view(outcome);
    EXPECT_STREQ(view.GetFailedName(2), "");
    EXPECT_STREQ(view.GetFailedName(-1), "");

    const ExportOutcome back = MakeOutcomeFromReport(&view);
    EXPECT_EQ(back.status, outcome.status);
    EXPECT_EQ(back.failedNames, outcome.failedNames);
    EXPECT_EQ(back.logPath, outcome.logPath);
    EXPECT_TRUE(back.targetReplaced);
    EXPECT_EQ(back.detail, outcome.detail);
    EXPECT_EQ(back.warningCount, 3);
    EXPECT_EQ(back.errorCount, 2);
    EXPECT_EQ(MakeOutcomeFromReport(nullptr).status, ExportStatus::Failed);
}

} // namespace
} // namespace vx
