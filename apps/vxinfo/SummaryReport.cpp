#include "vxinfo/SummaryReport.h"

#include "vxinfo/GeometryDecoding.h"
#include "vxinfo/IdentifierText.h"

#include <fstream>
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

} // namespace

std::vector<std::string> ReadFailedObjects(const std::string& logText)
{
    std::vector<std::string> names;
    std::istringstream lines(logText);
    std::string line;
    bool listing = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (listing && !line.empty())
            names.push_back(line);
        else if (line == "Failed objects:")
            listing = true;
    }
    return names;
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
    std::ifstream log(c.path + ".log", std::ios::binary);
    if (log) {
        s.logFound = true;
        std::ostringstream text;
        text << log.rdbuf();
        s.failedObjects = ReadFailedObjects(text.str());
    }
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
    if (!s.logFound)
        out << "Failed objects:    - (no log beside the file)\n";
    else {
        out << "Failed objects:    " << s.failedObjects.size() << "\n";
        for (const std::string& name : s.failedObjects)
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
    j["failedObjects"] = s.logFound ? nlohmann::json(s.failedObjects) : nlohmann::json(nullptr);
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
