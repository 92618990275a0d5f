#include "vxexport/ExitCode.h"

#include "host/PluginInterface.h"

namespace vx {

namespace {

ExitCode MapStatus(ExportStatus status)
{
    switch (status) {
    case ExportStatus::Succeeded:
        return ExitCode::Exported;
    case ExportStatus::FinishedWithFailures:
        return ExitCode::FinishedWithFailures;
    case ExportStatus::NoValidObjects:
    case ExportStatus::TargetInUse:
        return ExitCode::NothingExported;
    case ExportStatus::Cancelled:
        return ExitCode::Cancelled;
    case ExportStatus::NotRun:
    case ExportStatus::Failed:
        return ExitCode::RunFailed;
    }
    return ExitCode::RunFailed;
}

} // namespace

ExitCode GetExitCode(const ExportOutcome& outcome, int doExportResult)
{
    if (doExportResult == kExportResultException)
        return ExitCode::RunFailed;
    if (doExportResult == kExportResultCancelled)
        return ExitCode::Cancelled;
    return MapStatus(outcome.status);
}

} // namespace vx
