#include "database/PartKeys.h"

#include "base/Placement.h"
#include "design/CompositeObject.h"

#include <cstdio>

namespace vx {

namespace {

constexpr const char* kPartName = "VNXPart";

std::string FormatNumbers(float a, float b, float c)
{
    char text[128];
    std::snprintf(text, sizeof(text), "%g %g %g", static_cast<double>(a), static_cast<double>(b),
        static_cast<double>(c));
    return text;
}

} // namespace

bool HasPartProperty(const ZR::ObjectInstance& oi)
{
    for (auto it = oi.properties.Texts.begin(); it.IsValid(); it.Next()) {
        if (it.Key().text == kPartName)
            return true;
    }
    return false;
}

std::string PartKeyText(const std::string& partName, const ZR::Placement& placement)
{
    const AnglePlacement stored = TransformToPlacement(placement.matrix, placement.position).placement;
    return "N[" + partName + "]##P[" + FormatNumbers(stored.x, stored.y, stored.z) + "]##R["
        + FormatNumbers(stored.azimuth, stored.elevation, stored.twist) + "]";
}

void WritePartKeys(SqlWriter& writer, const ZR::ObjectInstance& oi)
{
    const ZR::CompositeObject* target = oi.object;
    if (!target || !target->fromGeometryNode || target->data.Model.geomid < 0)
        return;
    for (auto it = oi.properties.Texts.begin(); it.IsValid(); it.Next()) {
        if (it.Key().text != kPartName)
            continue;
        const std::string partName = it.Value().empty() ? std::string(oi.name.c_str()) : it.Value();
        const std::string key = PartKeyText(partName, oi.placement);
        const int64_t dictionaryLuid = writer.DictionaryLuid(it.Key().text.c_str(), it.Key().number);
        if (dictionaryLuid >= 0) {
            writer.BindAndRun(
                writer.GetStatement(WriterStatement::InsertProperty), [&](Sqlite3::Statement& insert) {
                    insert.Param(0).BindInt64(target->data.Model.geomid);
                    insert.Param(1).BindInt64(dictionaryLuid);
                    insert.Param(2).BindText(key.c_str());
                    insert.Param(3).BindNull();
                });
        }
        return;
    }
}

} // namespace vx
