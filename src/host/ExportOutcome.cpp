#include "host/ExportOutcome.h"

namespace vx {

namespace {

std::string TextOrEmpty(const char* text)
{
    return text ? std::string(text) : std::string();
}

} // namespace

ExportOutcome MakeOutcomeFromReport(const ExportReport* report)
{
    ExportOutcome outcome;
    if (!report) {
        outcome.status = ExportStatus::Failed;
        return outcome;
    }
    const int status = report->GetStatus();
    const bool known = status >= static_cast<int>(ExportStatus::NotRun)
        && status <= static_cast<int>(ExportStatus::Failed);
    outcome.status = known ? static_cast<ExportStatus>(status) : ExportStatus::Failed;
    for (int i = 0; i < report->GetFailedCount(); ++i)
        outcome.failedNames.push_back(TextOrEmpty(report->GetFailedName(i)));
    outcome.logPath = TextOrEmpty(report->GetLogPath());
    outcome.targetReplaced = report->IsTargetReplaced() != 0;
    outcome.detail = TextOrEmpty(report->GetDetail());
    outcome.warningCount = report->GetWarningCount();
    outcome.errorCount = report->GetErrorCount();
    return outcome;
}

} // namespace vx
