#include "vxbench/PeakMemory.h"

#include <fstream>
#include <string>
#include <sys/resource.h>

namespace vx::bench {

bool ResetPeakMemory()
{
    std::ofstream file("/proc/self/clear_refs");
    file << "5";
    file.flush();
    return static_cast<bool>(file);
}

double GetPeakMemoryMb()
{
    // VmHWM follows the reset; ru_maxrss does not.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace vx::bench
