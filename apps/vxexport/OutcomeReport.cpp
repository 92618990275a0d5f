#include "vxexport/OutcomeReport.h"

#include "vxexport/TerminalText.h"

namespace vx {

namespace {

constexpr const char* kPrefix = "vxexport: ";

std::string LogNote(const ExportOutcome& outcome)
{
    return outcome.logPath.empty() ? std::string() : " (log: " + MakePrintable(outcome.logPath) + ")";
}

std::string FormatFailedObjects(const ExportOutcome& outcome)
{
    std::string report = kPrefix + std::to_string(outcome.failedNames.size())
        + " objects could not be converted" + LogNote(outcome) + ":\n";
    for (const std::string& name : outcome.failedNames)
        report += "  " + MakePrintable(name) + "\n";
    return report;
}

std::string FormatNothingExported(const ExportOutcome& outcome, const char* reason)
{
    return kPrefix + std::string("nothing exported: ") + reason + LogNote(outcome) + "\n";
}

std::string Counted(int count, const char* noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// "N warnings, M errors" when the conversion reported any.
std::string FormatMessageCounts(const ExportOutcome& outcome)
{
    if (outcome.warningCount <= 0 && outcome.errorCount <= 0)
        return std::string();
    return kPrefix + Counted(outcome.warningCount, "warning") + ", " + Counted(outcome.errorCount, "error")
        + LogNote(outcome) + "\n";
}

std::string FormatStatus(const ExportOutcome& outcome, const OutcomeReportContext& context)
{
    switch (outcome.status) {
    case ExportStatus::Failed:
    case ExportStatus::NotRun:
        return kPrefix + std::string("the export failed")
            + (outcome.detail.empty() ? std::string() : ": " + MakePrintable(outcome.detail))
            + LogNote(outcome) + "\n";
    case ExportStatus::Cancelled:
        return context.quiet ? std::string() : kPrefix + std::string("the export was cancelled\n");
    case ExportStatus::FinishedWithFailures:
        return context.promptsSuppressed ? FormatFailedObjects(outcome) : std::string();
    case ExportStatus::NoValidObjects:
        return context.promptsSuppressed ? FormatNothingExported(outcome, "No valid objects have been found.")
                                         : std::string();
    case ExportStatus::TargetInUse: {
        // The box says "in use"; the system's reason says what it is.
        const std::string reason = outcome.detail.empty() ? std::string() : MakePrintable(outcome.detail);
        if (context.promptsSuppressed)
            return FormatNothingExported(outcome,
                ("File is in use by another process." + (reason.empty() ? "" : " (" + reason + ")")).c_str());
        return reason.empty() ? std::string() : kPrefix + reason + "\n";
    }
    case ExportStatus::Succeeded:
        break;
    }
    return std::string();
}

} // namespace

std::string FormatOutcomeReport(const ExportOutcome& outcome, const OutcomeReportContext& context)
{
    std::string report = FormatStatus(outcome, context);
    if (!context.quiet)
        report += FormatMessageCounts(outcome);
    return report;
}

} // namespace vx
