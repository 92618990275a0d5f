#include "scenefile/SceneControllerReader.h"

#include "memoryhost/MemoryControllerClasses.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <string_view>
#include <vector>

namespace vx {

namespace {

constexpr float kRadiansPerDegree = static_cast<float>(std::numbers::pi / 180.0);

const char* NameOf(MemoryValueType type)
{
    switch (type) {
    case MemoryValueType::Float:
        return "float";
    case MemoryValueType::Position:
        return "position";
    case MemoryValueType::Rotation:
        return "rotation";
    case MemoryValueType::Scale:
        return "scale";
    case MemoryValueType::Transform:
        break;
    }
    return "transform";
}

class ControllerReader {
public:
    ControllerReader(SceneReadContext& context, const std::unordered_map<std::string, MemoryNode*>& nodesById)
        : context_(context)
        , reader_(context.reader)
        , nodesById_(nodesById)
    {
    }

    MemoryController& Read(const JsonAt& at, MemoryValueType type);
    MemoryController& MakeStatic(MemoryValueType type, const HostControllerValue& value);

private:
    MemoryController& ReadKeyed(
        const JsonAt& at, MemoryValueType type, const MemoryControllerClass& c, const std::string& typeName);
    MemoryController& ReadXyz(const JsonAt& at, MemoryValueType type, const MemoryControllerClass& c);
    MemoryController& ReadPath(const JsonAt& at, const MemoryControllerClass& c);
    HostKey ReadKey(const JsonAt& at, MemoryValueType type, const std::string& typeName) const;
    void ReadValue(const JsonAt& at, MemoryValueType type, HostKey& key) const;
    void ReadTangent(const JsonAt& at, MemoryValueType type, HostPoint3& tangent) const;
    HostTime ReadTime(const JsonAt& at) const;

    SceneReadContext& context_;
    const JsonReader& reader_;
    const std::unordered_map<std::string, MemoryNode*>& nodesById_;
};

MemoryController& ControllerReader::MakeStatic(MemoryValueType type, const HostControllerValue& value)
{
    const auto c = FindControllerClassByName("linear", type);
    MemoryController& controller = context_.host.AddController(c->classId, type, MemoryControllerKind::Keys);
    controller.SetConstant(value);
    return controller;
}

MemoryController& ControllerReader::Read(const JsonAt& at, MemoryValueType type)
{
    reader_.RequireObject(at,
        {"type", "classId", "animated", "value", "keys", "x", "y", "z", "path", "percent", "follow", "flip",
            "axis"});
    const JsonAt typeAt = reader_.GetField(at, "type");
    const std::string typeName = reader_.ReadString(typeAt);
    std::optional<MemoryControllerClass> c;
    if (typeName == "other") {
        c = MemoryControllerClass {{}, type, MemoryControllerKind::Other};
    } else {
        c = FindControllerClassByName(typeName, type);
        if (!c)
            reader_.Fail(SceneLoadErrorKind::InvalidValue, typeAt.pointer,
                "a " + std::string(NameOf(type)) + " controller cannot be of type \"" + typeName + "\"");
    }
    if (auto classAt = reader_.FindField(at, "classId")) {
        if (reader_.RequireArray(*classAt) != 2)
            reader_.Fail(SceneLoadErrorKind::InvalidValue, classAt->pointer, "a class id is [a, b]");
        c->classId = {
            static_cast<std::uint32_t>(reader_.ReadUnsigned(reader_.GetElement(*classAt, 0), UINT32_MAX)),
            static_cast<std::uint32_t>(reader_.ReadUnsigned(reader_.GetElement(*classAt, 1), UINT32_MAX))};
    } else if (typeName == "other") {
        reader_.Fail(SceneLoadErrorKind::MissingField, at.pointer,
            "a controller of type \"other\" needs its \"classId\"");
    }
    MemoryController* controller = nullptr;
    if (c->kind == MemoryControllerKind::Xyz)
        controller = &ReadXyz(at, type, *c);
    else if (c->kind == MemoryControllerKind::Path)
        controller = &ReadPath(at, *c);
    else
        controller = &ReadKeyed(at, type, *c, typeName);
    if (auto animatedAt = reader_.FindField(at, "animated"))
        controller->SetAnimated(reader_.ReadBool(*animatedAt));
    return *controller;
}

MemoryController& ControllerReader::ReadKeyed(
    const JsonAt& at, MemoryValueType type, const MemoryControllerClass& c, const std::string& typeName)
{
    for (const char* field : {"x", "y", "z", "path", "percent", "follow", "flip", "axis"})
        if (auto wrong = reader_.FindField(at, field))
            reader_.Fail(SceneLoadErrorKind::UnknownField, wrong->pointer,
                "a controller of type \"" + typeName + "\" has no \"" + field + "\"");
    MemoryController& controller = context_.host.AddController(c.classId, type, c.kind);
    if (auto valueAt = reader_.FindField(at, "value")) {
        HostKey constant;
        ReadValue(*valueAt, type, constant);
        controller.SetConstant({constant.point, constant.quat, constant.value});
    }
    if (auto keysAt = reader_.FindField(at, "keys")) {
        const size_t count = reader_.RequireArray(*keysAt);
        context_.ChargeArray(count, sizeof(HostKey), keysAt->pointer);
        std::vector<HostKey> keys;
        for (size_t i = 0; i < count; ++i)
            keys.push_back(ReadKey(reader_.GetElement(*keysAt, i), type, typeName));
        controller.SetKeys(std::move(keys), c.relativeRotations);
    }
    return controller;
}

MemoryController& ControllerReader::ReadXyz(
    const JsonAt& at, MemoryValueType type, const MemoryControllerClass& c)
{
    for (const char* field : {"keys", "value", "path", "percent", "follow", "flip", "axis"})
        if (auto wrong = reader_.FindField(at, field))
            reader_.Fail(SceneLoadErrorKind::UnknownField, wrong->pointer,
                std::string("an XYZ or Euler controller has no \"") + field + "\"");
    MemoryController* sub[3] = {nullptr, nullptr, nullptr};
    const char* names[3] = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i)
        if (auto subAt = reader_.FindField(at, names[i]))
            sub[i] = &Read(*subAt, MemoryValueType::Float);
    MemoryController& controller = context_.host.AddController(c.classId, type, c.kind);
    controller.SetSubControllers(sub[0], sub[1], sub[2]);
    return controller;
}

MemoryController& ControllerReader::ReadPath(const JsonAt& at, const MemoryControllerClass& c)
{
    for (const char* field : {"keys", "value", "x", "y", "z"})
        if (auto wrong = reader_.FindField(at, field))
            reader_.Fail(SceneLoadErrorKind::UnknownField, wrong->pointer,
                std::string("a path constraint has no \"") + field + "\"");
    MemoryNode* pathNode = nullptr;
    if (auto pathAt = reader_.FindField(at, "path")) {
        const std::string id = reader_.ReadString(*pathAt);
        const auto found = nodesById_.find(id);
        if (found == nodesById_.end())
            reader_.Fail(
                SceneLoadErrorKind::UnknownReference, pathAt->pointer, "no node has the id \"" + id + "\"");
        pathNode = found->second;
    }
    MemoryController* percent = nullptr;
    if (auto percentAt = reader_.FindField(at, "percent"))
        percent = &Read(*percentAt, MemoryValueType::Float);
    bool follow = false;
    bool flip = false;
    int axis = 0;
    if (auto followAt = reader_.FindField(at, "follow"))
        follow = reader_.ReadBool(*followAt);
    if (auto flipAt = reader_.FindField(at, "flip"))
        flip = reader_.ReadBool(*flipAt);
    if (auto axisAt = reader_.FindField(at, "axis"))
        axis = static_cast<int>(reader_.ReadInteger(*axisAt, 0, 2));
    MemoryController& controller = context_.host.AddController(c.classId, MemoryValueType::Position, c.kind);
    controller.SetPath(pathNode, percent, follow, flip, axis);
    return controller;
}

HostTime ControllerReader::ReadTime(const JsonAt& at) const
{
    const std::int64_t units = reader_.ReadInteger(at, INT32_MIN, INT32_MAX);
    const std::int64_t ticks = units * context_.ticksPerTimeUnit;
    if (ticks < INT32_MIN || ticks > INT32_MAX)
        reader_.Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
            "the time " + std::to_string(units) + " is outside the host's time range (32-bit ticks)");
    return static_cast<HostTime>(ticks);
}

void ControllerReader::ReadValue(const JsonAt& at, MemoryValueType type, HostKey& key) const
{
    switch (type) {
    case MemoryValueType::Float:
        key.value = reader_.ReadFloat(at);
        break;
    case MemoryValueType::Position:
    case MemoryValueType::Scale:
        key.point = reader_.ReadPoint3(at);
        break;
    case MemoryValueType::Rotation:
        key.quat = reader_.ReadQuat(at);
        break;
    case MemoryValueType::Transform:
        break;
    }
}

void ControllerReader::ReadTangent(const JsonAt& at, MemoryValueType type, HostPoint3& tangent) const
{
    if (type == MemoryValueType::Float)
        tangent = {reader_.ReadFloat(at), 0, 0};
    else
        tangent = reader_.ReadPoint3(at);
}

HostKey ControllerReader::ReadKey(const JsonAt& at, MemoryValueType type, const std::string& typeName) const
{
    const bool rotation = type == MemoryValueType::Rotation;
    const bool bezier = typeName == "bezier";
    const bool tcb = typeName == "tcb";
    reader_.RequireObject(
        at, {"time", "value", "axis", "angle", "in", "out", "tension", "continuity", "bias"});
    HostKey key;
    key.time = ReadTime(reader_.GetField(at, "time"));
    auto valueAt = reader_.FindField(at, "value");
    auto axisAt = reader_.FindField(at, "axis");
    auto angleAt = reader_.FindField(at, "angle");
    if ((axisAt || angleAt) && !rotation)
        reader_.Fail(SceneLoadErrorKind::UnknownField, (axisAt ? axisAt : angleAt)->pointer,
            "only rotation keys have an \"axis\" and an \"angle\"");
    if (rotation && (axisAt || angleAt)) {
        if (valueAt)
            reader_.Fail(SceneLoadErrorKind::InvalidValue, valueAt->pointer,
                "give either \"value\" or \"axis\" and \"angle\", not both");
        key.axis = Normalize(reader_.ReadPoint3(reader_.GetField(at, "axis")));
        if (key.axis == HostPoint3 {})
            reader_.Fail(
                SceneLoadErrorKind::InvalidValue, axisAt->pointer, "a rotation axis may not be zero");
        key.angle = reader_.ReadFloat(reader_.GetField(at, "angle")) * kRadiansPerDegree;
        key.quat = MakeQuatFromAxisAngle(key.axis, key.angle);
    } else {
        ReadValue(reader_.GetField(at, "value"), type, key);
        if (rotation) {
            // The same rotation as axis and angle, for hosts' callers that read keys that way.
            const float w = std::clamp(key.quat.w, -1.0f, 1.0f);
            key.angle = 2.0f * std::acos(w);
            key.axis = Normalize({key.quat.x, key.quat.y, key.quat.z});
            if (key.axis == HostPoint3 {})
                key.axis = {0, 0, 1};
        }
    }
    for (const char* field : {"in", "out"})
        if (auto tangentAt = reader_.FindField(at, field)) {
            if (!bezier || rotation)
                reader_.Fail(SceneLoadErrorKind::UnknownField, tangentAt->pointer,
                    std::string("only Bezier keys of floats, positions and scales have \"") + field + "\"");
            ReadTangent(*tangentAt, type, field[0] == 'i' ? key.inTangent : key.outTangent);
        }
    float* tcbValues[3] = {&key.tension, &key.continuity, &key.bias};
    const char* tcbNames[3] = {"tension", "continuity", "bias"};
    for (int i = 0; i < 3; ++i)
        if (auto tcbAt = reader_.FindField(at, tcbNames[i])) {
            if (!tcb)
                reader_.Fail(SceneLoadErrorKind::UnknownField, tcbAt->pointer,
                    std::string("only TCB keys have \"") + tcbNames[i] + "\"");
            *tcbValues[i] = reader_.ReadFloat(*tcbAt);
        }
    return key;
}

} // namespace

void ReadTimeline(SceneReadContext& context, const JsonAt& at)
{
    const JsonReader& reader = context.reader;
    reader.RequireObject(at, {"start", "end", "ticksPerFrame", "timeUnit"});
    int ticksPerFrame = 160;
    if (auto tpfAt = reader.FindField(at, "ticksPerFrame"))
        ticksPerFrame = static_cast<int>(reader.ReadInteger(*tpfAt, 1, 4800));
    context.host.SetTicksPerFrame(ticksPerFrame);
    context.ticksPerTimeUnit = ticksPerFrame;
    if (auto unitAt = reader.FindField(at, "timeUnit")) {
        const std::string unit = reader.ReadString(*unitAt);
        if (unit == "ticks")
            context.ticksPerTimeUnit = 1;
        else if (unit != "frames")
            reader.Fail(SceneLoadErrorKind::InvalidValue, unitAt->pointer,
                "unknown time unit \"" + unit + "\" (known: frames, ticks)");
    }
    // The default range is frames 0 to 100, whatever unit the file's times are in.
    std::int64_t ends[2] = {0, std::int64_t {100} * ticksPerFrame};
    const char* names[2] = {"start", "end"};
    for (int i = 0; i < 2; ++i)
        if (auto endAt = reader.FindField(at, names[i])) {
            const std::int64_t units = reader.ReadInteger(*endAt, INT32_MIN, INT32_MAX);
            ends[i] = units * context.ticksPerTimeUnit;
            if (ends[i] < INT32_MIN || ends[i] > INT32_MAX)
                reader.Fail(SceneLoadErrorKind::InvalidValue, endAt->pointer,
                    "the time " + std::to_string(units) + " is outside the host's time range (32-bit ticks)");
        }
    if (ends[1] < ends[0])
        reader.Fail(SceneLoadErrorKind::InvalidValue, at.pointer, "the timeline ends before it starts");
    context.host.SetAnimRange({static_cast<HostTime>(ends[0]), static_cast<HostTime>(ends[1])});
}

void ReadNodeAnimation(SceneReadContext& context, const JsonAt& at, const HostMatrix3& local,
    MemoryNode& node, const std::unordered_map<std::string, MemoryNode*>& nodesById)
{
    const JsonReader& reader = context.reader;
    reader.RequireObject(at, {"position", "rotation", "scale"});
    ControllerReader controllers(context, nodesById);
    const HostAffineParts parts = DecomposeAffine(local);
    HostControllerValue position;
    position.point = parts.t;
    HostControllerValue rotation;
    rotation.quat = parts.q;
    HostControllerValue scale;
    scale.point = parts.k * parts.f;
    const struct {
        const char* name;
        MemoryValueType type;
        HostControllerValue value;
    } slots[3] = {{"position", MemoryValueType::Position, position},
        {"rotation", MemoryValueType::Rotation, rotation}, {"scale", MemoryValueType::Scale, scale}};
    MemoryController* sub[3] = {nullptr, nullptr, nullptr};
    for (int i = 0; i < 3; ++i) {
        if (auto slotAt = reader.FindField(at, slots[i].name))
            sub[i] = &controllers.Read(*slotAt, slots[i].type);
        else
            sub[i] = &controllers.MakeStatic(slots[i].type, slots[i].value);
    }
    MemoryController& transform = context.host.AddController(
        HostClassId {0x2005, 0}, MemoryValueType::Transform, MemoryControllerKind::Transform);
    transform.SetSubControllers(sub[0], sub[1], sub[2]);
    node.SetTMController(&transform);
}

} // namespace vx
