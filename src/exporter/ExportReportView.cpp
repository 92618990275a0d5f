#include "exporter/ExportReportView.h"

#include <climits>

namespace vx {

int ExportReportView::GetStatus() const
{
    return static_cast<int>(outcome_.status);
}

int ExportReportView::GetFailedCount() const
{
    return outcome_.failedNames.size() > INT_MAX ? INT_MAX : static_cast<int>(outcome_.failedNames.size());
}

const char* ExportReportView::GetFailedName(int index) const
{
    if (index < 0 || index >= GetFailedCount())
        return "";
    return outcome_.failedNames[static_cast<size_t>(index)].c_str();
}

const char* ExportReportView::GetLogPath() const
{
    return outcome_.logPath.c_str();
}

int ExportReportView::IsTargetReplaced() const
{
    return outcome_.targetReplaced ? 1 : 0;
}

const char* ExportReportView::GetDetail() const
{
    return outcome_.detail.c_str();
}

int ExportReportView::GetWarningCount() const
{
    return outcome_.warningCount;
}

int ExportReportView::GetErrorCount() const
{
    return outcome_.errorCount;
}

} // namespace vx
