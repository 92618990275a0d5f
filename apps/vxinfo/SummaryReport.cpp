#include "vxinfo/SummaryReport.h"

#include "vxinfo/GeometryDecoding.h"
#include "vxinfo/IdentifierText.h"
#include "vxinfo/RunLogLines.h"

#include <cstring>
#include <sstream>

namespace vxinfo {

namespace {

bool IsGroupType(int64_t type)
{
    return type >= 640 && type <= 643;
}

std::string Triple(const Vec3& v)
{
    std::ostringstream text;
    text << v[0] << ", " << v[1] << ", " << v[2];
    return "(" + text.str() + ")";
}

// A span of time in a unit that keeps its number readable: "90 s", "12 min", "5 h", "3 days".
std::string Duration(int64_t ms)
{
    const int64_t seconds = ms / 1000;
    if (seconds < 1)
        return "less than 1 s";
    if (seconds < 120)
        return std::to_string(seconds) + " s";
    if (seconds < 120 * 60)
        return std::to_string(seconds / 60) + " min";
    if (seconds < 48 * 3600)
        return std::to_string(seconds / 3600) + " h";
    return std::to_string(seconds / 86400) + " days";
}

std::string ForeignLogReason(const ForeignLogVerdict& verdict)
{
    switch (verdict.sign) {
    case ForeignLogSign::SaysTargetKept:
        return "it says \"" + verdict.line + "\"";
    case ForeignLogSign::CreatedAfterStamp:
        return "it was created " + Duration(verdict.lateByMs) + " after the database was stamped";
    case ForeignLogSign::WrittenLongAfterStamp:
        return "it was last written " + Duration(verdict.lateByMs) + " after the database was stamped";
    case ForeignLogSign::NamesOtherObjects: {
        std::string names;
        for (const std::string& name : verdict.names)
            names += (names.empty() ? "\"" : ", \"") + name + "\"";
        return "the database holds none of the objects it names: " + names;
    }
    case ForeignLogSign::None:
        break;
    }
    return {};
}

// Why the summary lists no failed objects; "" when it lists the log's.
std::string LogNote(const DesignLog& log)
{
    switch (log.state) {
    case LogState::Missing:
        return "no log beside the file";
    case LogState::NotRegularFile:
        return "the log beside the file is not a regular file";
    case LogState::Unreadable:
        return std::string("the log beside the file cannot be read: ") + std::strerror(log.error);
    case LogState::FromAnotherRun:
        return "the log beside the file is from another run: " + ForeignLogReason(log.verdict);
    case LogState::ListOutOfReach: {
        const std::string tail = std::to_string(kLogTailBytes / (1024 * 1024)) + " MiB";
        return "the log beside the file is longer than " + tail + " and its last " + tail
            + " list no failed objects";
    }
    case LogState::Read:
        break;
    }
    return {};
}

const char* LogStateName(LogState state)
{
    switch (state) {
    case LogState::Missing:
        return "missing";
    case LogState::NotRegularFile:
        return "notRegularFile";
    case LogState::Unreadable:
        return "unreadable";
    case LogState::FromAnotherRun:
        return "fromAnotherRun";
    case LogState::ListOutOfReach:
        return "listOutOfReach";
    case LogState::Read:
        break;
    }
    return "read";
}

} // namespace

std::vector<std::string> ReadFailedObjects(const std::string& logText)
{
    return ReadRunLogLines(logText).failedObjects;
}

DesignSummary SummarizeDesign(const ReadOnlyDatabase& db, const DesignContent& c)
{
    DesignSummary s;
    if (!c.versionSchema.empty()) {
        s.schema = IdentifierText(c.versionSchema.front());
        s.stamp = IdentifierText(c.versionGuid.front());
    }
    s.objects = static_cast<int64_t>(c.objects.size());
    s.instances = static_cast<int64_t>(c.instances.size());
    s.geometries = static_cast<int64_t>(c.geometries.size());
    s.textures = static_cast<int64_t>(c.textures.size());
    s.properties = static_cast<int64_t>(c.properties.size());
    s.dictionaryEntries = static_cast<int64_t>(c.dictionary.size());
    for (const FileRow& f : c.files)
        ++(f.geometry == 0 ? s.animationFiles : s.bufferFiles);
    for (const DictionaryRow& d : c.dictionary)
        if (IsGroupType(d.type))
            ++s.groups;
    const FileIndex files = IndexFiles(c);
    for (const GeometryRow& g : c.geometries)
        s.triangles += DecodeGeometry(db, g, files).triangles;
    s.log = ReadDesignLog(c);
    if (!c.roots.empty()) {
        const RootRow& root = c.roots.front();
        s.root = root.object;
        for (const ObjectRow& o : c.objects)
            if (o.luid == root.object) {
                s.rootBoxMin = o.boxMin;
                s.rootBoxMax = o.boxMax;
            }
        s.camera = root.camera;
        s.cameraAzimuth = root.cameraAzimuth.value_or(0);
        s.cameraElevation = root.cameraElevation.value_or(0);
    }
    return s;
}

std::string FormatSummary(const DesignSummary& s)
{
    std::ostringstream out;
    out << "Schema:            " << (s.schema.empty() ? "-" : s.schema) << "\n";
    out << "Version stamp:     " << (s.stamp.empty() ? "-" : s.stamp) << "\n";
    out << "Composite objects: " << s.objects << "\n";
    out << "Instances:         " << s.instances << "\n";
    out << "Geometries:        " << s.geometries << "\n";
    out << "Triangles:         " << s.triangles << "\n";
    out << "Buffer files:      " << s.bufferFiles << "\n";
    out << "Animation files:   " << s.animationFiles << "\n";
    out << "Textures:          " << s.textures << "\n";
    out << "Properties:        " << s.properties << " (" << s.dictionaryEntries << " dictionary entries)\n";
    out << "Groups:            " << s.groups << "\n";
    if (s.log.state != LogState::Read)
        out << "Failed objects:    - (" << LogNote(s.log) << ")\n";
    else {
        out << "Failed objects:    " << s.log.failedObjects.size() << "\n";
        for (const std::string& name : s.log.failedObjects)
            out << "  " << name << "\n";
    }
    if (s.root) {
        out << "Root object:       " << *s.root << "\n";
        out << "Root box:          " << Triple(s.rootBoxMin) << " - " << Triple(s.rootBoxMax) << "\n";
        if (s.camera)
            out << "Camera:            " << Triple(*s.camera) << " azimuth " << s.cameraAzimuth
                << " elevation " << s.cameraElevation << "\n";
        else
            out << "Camera:            -\n";
    } else {
        out << "Root object:       -\n";
    }
    return out.str();
}

nlohmann::json SummaryJson(const DesignSummary& s)
{
    nlohmann::json j;
    j["schema"] = s.schema;
    j["stamp"] = s.stamp;
    j["objects"] = s.objects;
    j["instances"] = s.instances;
    j["geometries"] = s.geometries;
    j["triangles"] = s.triangles;
    j["bufferFiles"] = s.bufferFiles;
    j["animationFiles"] = s.animationFiles;
    j["textures"] = s.textures;
    j["properties"] = s.properties;
    j["dictionaryEntries"] = s.dictionaryEntries;
    j["groups"] = s.groups;
    const bool listed = s.log.state == LogState::Read;
    j["failedObjects"] = listed ? nlohmann::json(s.log.failedObjects) : nlohmann::json(nullptr);
    j["log"] = LogStateName(s.log.state);
    j["logNote"] = listed ? nlohmann::json(nullptr) : nlohmann::json(LogNote(s.log));
    if (s.root) {
        j["root"] = {{"object", *s.root}, {"boxMin", s.rootBoxMin}, {"boxMax", s.rootBoxMax}};
        if (s.camera)
            j["root"]["camera"]
                = {{"position", *s.camera}, {"azimuth", s.cameraAzimuth}, {"elevation", s.cameraElevation}};
    } else {
        j["root"] = nullptr;
    }
    return j;
}

} // namespace vxinfo
