#include "vxexport/ExportMemory.h"

#include "vxexport/ImportMemory.h"

#include "memoryhost/MemoryNode.h"

#include <algorithm>
#include <fstream>
#include <sys/resource.h>

namespace vx {

namespace {

std::uint64_t CountTriangles(const MemoryNode& node)
{
    std::uint64_t triangles = 0;
    if (const HostObject* object = node.GetObjectRef()) {
        const HostObject* evaluated = object->Evaluate(0);
        if (const HostMesh* mesh = evaluated ? evaluated->GetMesh() : nullptr)
            triangles += static_cast<std::uint64_t>(std::max(0, mesh->GetNumFaces()));
    }
    for (const MemoryNode* child : node.GetChildren())
        triangles += CountTriangles(*child);
    return triangles;
}

// The value after key (in kB) in a "/proc" status file; nothing when the key is not there.
std::optional<std::uint64_t> ReadKilobytes(const std::string& path, const std::string& key)
{
    std::ifstream file(path);
    std::string name;
    std::uint64_t value = 0;
    while (file >> name) {
        if (name == key && file >> value)
            return value * 1024;
        file.ignore(1 << 20, '\n');
    }
    return std::nullopt;
}

std::optional<std::uint64_t> ReadNumber(const std::string& path)
{
    std::ifstream file(path);
    std::uint64_t value = 0;
    if (file >> value)
        return value;
    return std::nullopt;
}

// What the address-space limit (ulimit -v) leaves this process.
std::optional<std::uint64_t> AddressSpaceLeft()
{
    rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    const std::uint64_t used = ReadKilobytes("/proc/self/status", "VmSize:").value_or(0);
    return limit.rlim_cur > used ? limit.rlim_cur - used : 0;
}

// What the memory limit of this process's control group leaves (cgroup v2, or v1's memory
// controller). Inside a container the group's own folder is the mount itself.
std::optional<std::uint64_t> ControlGroupLeft()
{
    std::ifstream groups("/proc/self/cgroup");
    std::string line;
    while (std::getline(groups, line)) {
        const size_t first = line.find(':');
        const size_t second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            continue;
        const std::string controllers = line.substr(first + 1, second - first - 1);
        const std::string path = line.substr(second + 1);
        const bool v2 = controllers.empty();
        if (!v2 && controllers != "memory")
            continue;
        const std::string mount = v2 ? "/sys/fs/cgroup" : "/sys/fs/cgroup/memory";
        for (const std::string& folder : {mount + path, mount}) {
            const auto max = ReadNumber(folder + (v2 ? "/memory.max" : "/memory.limit_in_bytes"));
            const auto current = ReadNumber(folder + (v2 ? "/memory.current" : "/memory.usage_in_bytes"));
            if (max && current) // "max" (no limit) does not read as a number
                return *max > *current ? *max - *current : 0;
        }
    }
    return std::nullopt;
}

std::string WithThousands(std::uint64_t value)
{
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

} // namespace

ExportMemoryNeed EstimateExportMemory(const MemoryHost& host)
{
    ExportMemoryNeed need;
    need.triangles = CountTriangles(host.GetRoot());
    need.bytes = kExportBaseBytes + need.triangles * kExportBytesPerTriangle;
    return need;
}

std::optional<std::uint64_t> GetAvailableMemoryBytes()
{
    std::optional<std::uint64_t> available = ReadKilobytes("/proc/meminfo", "MemAvailable:");
    for (const std::optional<std::uint64_t> other : {AddressSpaceLeft(), ControlGroupLeft()})
        if (other)
            available = available ? std::min(*available, *other) : *other;
    return available;
}

std::string DescribeMemoryShortfall(const ExportMemoryNeed& need, std::optional<std::uint64_t> available)
{
    if (!available || need.bytes <= *available)
        return {};
    return "the export needs about " + FormatMemorySize(need.bytes) + " of memory for "
        + WithThousands(need.triangles) + " triangles, and " + FormatMemorySize(*available)
        + " are available";
}

} // namespace vx
