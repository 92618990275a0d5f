#include "scene/passes/CompIdKeys.h"

#include "scene/NodeProperty.h"
#include "scene/ObjectSignatures.h"
#include "scene/SceneTexts.h"

#include "base/Numeric.h"
#include "host/HostMath.h"
#include "host/HostNode.h"
#include "run/SceneContext.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace vx {

namespace {

std::string KeyTriple(double x, double y, double z, bool rounded)
{
    return KeyNumber(x, rounded) + "," + KeyNumber(y, rounded) + "," + KeyNumber(z, rounded);
}

std::string KeyGroup(double x, double y, double z)
{
    std::string group = "[";
    group += KeyTriple(x, y, z, false);
    group += "]";
    return group;
}

std::string KeyRow(const HostPoint3& row, double factor)
{
    return KeyTriple(row.x * factor, row.y * factor, row.z * factor, true);
}

// Host units to millimetres: translations are compared at a fixed step in space, whatever the unit,
// so that a move of a few centimetres in a metre scene is never rounded away.
double MillimetresPerUnit()
{
    const SceneContext* context = CurrentSceneContext();
    return 1000.0 * (context ? context->scaleFactor : 1.0f);
}

} // namespace

std::string KeyNumber(double value, bool rounded)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    std::int64_t number = TruncateToInt64(rounded ? std::floor(value + 0.5) : value);
    if (number > std::numeric_limits<std::int32_t>::max())
        number = std::numeric_limits<std::int32_t>::max();
    if (number < std::numeric_limits<std::int32_t>::min())
        number = std::numeric_limits<std::int32_t>::min();
    // "%X": upper-case hexadecimal digits without leading zeros ("0" for zero), written directly.
    char digits[8];
    auto bits = static_cast<std::uint32_t>(number);
    std::size_t first = sizeof digits;
    do {
        digits[--first] = "0123456789ABCDEF"[bits & 0xFu];
        bits >>= 4;
    } while (bits != 0);
    return std::string(digits + first, sizeof digits - first);
}

std::string FactoryKey(const HostNode& node)
{
    const NodeProperty properties(const_cast<HostNode*>(&node));
    std::string key;
    std::string rest;
    const auto add = [&](const char* name) {
        if (properties.HasKey(name, rest))
            key += std::string(name) + " " + rest + "\n";
    };
    for (const char* name : kNullNodeKeys)
        add(name);
    for (const char* name : {kKeyInstance, kKeyPart, kKeyScalable, kKeyExtrudable})
        add(name);
    return key;
}

std::string GeometryKey(const HostNode& node)
{
    const HostPoint3 position = node.GetObjOffsetPos();
    const HostQuat rotation = node.GetObjOffsetRot();
    const HostPoint3 scale = node.GetObjOffsetScale();
    const double mm = MillimetresPerUnit();
    return ObjectSignaturePieces(node) + "["
        + KeyTriple(position.x * mm, position.y * mm, position.z * mm, true) + "]"
        + KeyGroup(rotation.x * 1000.0, rotation.y * 1000.0, rotation.z * 1000.0)
        + KeyGroup(scale.x * 1000.0, scale.y * 1000.0, scale.z * 1000.0) + "{" + FactoryKey(node) + "}";
}

std::string TransformKey(const HostNode& node)
{
    const HostMatrix3 local = node.GetNodeTM(0) * Inverse(node.GetParentTM(0));
    std::string key = "[";
    for (int row = 0; row < 4; ++row) {
        if (row > 0)
            key += ",";
        key += KeyRow(local.rows[static_cast<std::size_t>(row)], row < 3 ? 1000.0 : MillimetresPerUnit());
    }
    return key + "]";
}

} // namespace vx
