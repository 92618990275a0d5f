#include "exporter/ExportTree.h"

namespace vx {

ExportTree BuildExportTree(HostNode*)
{
    return ExportTree {};
}

} // namespace vx
