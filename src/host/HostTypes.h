#pragma once
// Small value types shared by the whole host interface: animation time, colours, window handles and
// the scene's master unit.

#include <cstdint>

namespace vx {

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
