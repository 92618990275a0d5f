#include "exporter/VNX30MaxExporter.h"

#include "host/Host.h"

#include <cmath>

namespace vx {

int ProgressPercent(int32_t count, int32_t total)
{
    if (total <= 0)
        return 0;
    const double percent = std::trunc(100.0 * count / total);
    if (percent < 0.0)
        return 0;
    if (percent > 100.0)
        return 100;
    return static_cast<int>(percent);
}

void VNX30MaxExporter::ReportProgress()
{
    if (host)
        host->ProgressUpdate(ProgressPercent(progressCount, progressTotal));
}

void VNX30MaxExporter::StepProgress()
{
    ++progressCount;
    ReportProgress();
}

} // namespace vx
