#include "vxexport/ImportMemory.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unistd.h>

namespace vx {

namespace {

constexpr std::uint64_t kGiB = std::uint64_t(1) << 30;

// The power of 1024 a unit names (K 1, M 2, G 3, T 4; empty 0); nothing for another text.
std::optional<int> UnitPower(std::string unit)
{
    std::transform(unit.begin(), unit.end(), unit.begin(), [](unsigned char c) { return std::toupper(c); });
    if (unit.size() > 1 && (unit.substr(1) == "B" || unit.substr(1) == "IB"))
        unit.resize(1);
    if (unit.empty() || unit == "B")
        return 0;
    const std::string units = "KMGT";
    const size_t at = unit.size() == 1 ? units.find(unit[0]) : std::string::npos;
    return at == std::string::npos ? std::nullopt : std::optional<int>(static_cast<int>(at) + 1);
}

} // namespace

std::uint64_t GetDefaultImportMemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return 4 * kGiB;
    return std::max(kGiB, static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 2);
}

std::optional<std::uint64_t> ParseMemorySize(const std::string& text)
{
    if (text == "unlimited")
        return 0;
    size_t digits = 0;
    std::uint64_t value = 0;
    for (; digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])); ++digits) {
        if (value > (UINT64_MAX - 9) / 10)
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[digits] - '0');
    }
    const std::optional<int> power = UnitPower(text.substr(digits));
    if (digits == 0 || !power || value == 0)
        return std::nullopt;
    for (int i = 0; i < *power; ++i) {
        if (value > UINT64_MAX / 1024)
            return std::nullopt;
        value *= 1024;
    }
    return value;
}

std::string FormatMemorySize(std::uint64_t bytes)
{
    if (bytes == 0)
        return "no limit";
    const char* units[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024 && unit < 4) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof(text),
        value == static_cast<double>(static_cast<std::uint64_t>(value)) ? "%.0f %s" : "%.1f %s", value,
        units[unit]);
    return text;
}

} // namespace vx
