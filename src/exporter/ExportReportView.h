#pragma once
// ExportReportView: an ExportOutcome seen through the ExportReport interface, so that the outcome
// can cross the plug-in boundary without its standard containers.

#include "host/ExportOutcome.h"
#include "host/PluginInterface.h"

namespace vx {

class ExportReportView final : public ExportReport {
public:
    // Views outcome, which must outlive the view.
    explicit ExportReportView(const ExportOutcome& outcome)
        : outcome_(outcome)
    {
    }

    int GetStatus() const override;
    int GetFailedCount() const override;
    const char* GetFailedName(int index) const override;
    const char* GetLogPath() const override;
    int IsTargetReplaced() const override;
    const char* GetDetail() const override;
    int GetWarningCount() const override;
    int GetErrorCount() const override;

private:
    const ExportOutcome& outcome_;
};

} // namespace vx
