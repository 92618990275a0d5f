#pragma once
// Small value types shared by the whole host interface: array views, animation time, colours,
// window handles and the scene's master unit.

#include <cstddef>
#include <cstdint>

namespace vx {

// A read-only view of an array the host owns: a pointer and a count, the same layout whichever
// compiler or standard library built either side of the plug-in boundary. Valid until the object
// that returned it changes or is destroyed. The inline helpers never cross the boundary.
template <typename T> struct HostArray {
    const T* data = nullptr;
    std::size_t count = 0;

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    const T* begin() const { return data; }
    const T* end() const { return data + count; }
    // Element i; requires i < count.
    const T& operator[](std::size_t i) const { return data[i]; }
};

// Views a contiguous container the host keeps (a vector, an array) as a HostArray.
template <typename Container>
auto MakeHostArray(const Container& items) -> HostArray<typename Container::value_type>
{
    return {items.data(), items.size()};
}

// Host animation time in ticks (4800 ticks per second). The exporter reads the scene at time 0.
using HostTime = std::int32_t;

// A colour as three floats, nominally 0..1 (red, green, blue).
struct HostColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    friend bool operator==(const HostColor&, const HostColor&) = default;
};

// An opaque window handle. The exporter only passes handles back to the host (owner of a message
// box, parent of a dialog); the value 0 means "no window".
struct HostWindow {
    std::uintptr_t id = 0;
    friend bool operator==(const HostWindow&, const HostWindow&) = default;
};

// Codes of the host's master unit type, as the export run's unit table uses them.
enum HostUnitType : int {
    kHostUnitInches = 0,
    kHostUnitFeet = 1,
    kHostUnitMiles = 2,
    kHostUnitMillimeters = 3,
    kHostUnitCentimeters = 4,
    kHostUnitMeters = 5,
    kHostUnitKilometers = 6,
};

// The master unit: a unit type code (any value may occur; the codes above are the known ones) and
// the number of those units that make one scene unit.
struct HostUnitInfo {
    int type = kHostUnitMeters;
    double multiplier = 1.0;
};

} // namespace vx
