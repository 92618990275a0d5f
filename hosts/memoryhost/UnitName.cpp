#include "memoryhost/UnitName.h"

#include "host/HostTypes.h"

namespace vx {

std::optional<int> FindUnitTypeByName(std::string_view name)
{
    static constexpr struct {
        std::string_view name;
        int type;
    } kUnits[] = {
        {"inches", kHostUnitInches},
        {"feet", kHostUnitFeet},
        {"miles", kHostUnitMiles},
        {"millimeters", kHostUnitMillimeters},
        {"millimetres", kHostUnitMillimeters},
        {"centimeters", kHostUnitCentimeters},
        {"centimetres", kHostUnitCentimeters},
        {"meters", kHostUnitMeters},
        {"metres", kHostUnitMeters},
        {"kilometers", kHostUnitKilometers},
        {"kilometres", kHostUnitKilometers},
    };
    for (const auto& unit : kUnits)
        if (unit.name == name)
            return unit.type;
    return std::nullopt;
}

} // namespace vx
