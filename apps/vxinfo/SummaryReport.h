#pragma once
// The summary of a design database: its version, its counts, the failed objects its export log
// lists, and the root record's box and camera.

#include "vxinfo/DesignContent.h"
#include "vxinfo/DesignLog.h"
#include "vxinfo/ReadOnlyDatabase.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace vxinfo {

struct DesignSummary {
    std::string schema; // identifier text of CurrentVersion.schema
    std::string stamp; // identifier text of CurrentVersion.guid
    int64_t objects = 0, instances = 0, geometries = 0, triangles = 0, bufferFiles = 0, animationFiles = 0,
            textures = 0, properties = 0, dictionaryEntries = 0, groups = 0;
    DesignLog log; // FILE.log beside the database: its failed objects, or why they are not known
    std::optional<Luid> root;
    Vec3 rootBoxMin {0, 0, 0}, rootBoxMax {0, 0, 0};
    std::optional<Vec3> camera;
    double cameraAzimuth = 0, cameraElevation = 0;
};

// Counts content (decoding every geometry to count its triangles), reads the failed objects from
// the log at content.path + ".log" when there is one that can be the log of the run that wrote the
// database, and takes the root record's box and camera.
DesignSummary SummarizeDesign(const ReadOnlyDatabase& db, const DesignContent& content);

// The names listed after the line "Failed objects:" of a log text (CR LF or LF lines).
std::vector<std::string> ReadFailedObjects(const std::string& logText);

// The summary as lines of text / as a JSON object.
std::string FormatSummary(const DesignSummary& summary);
nlohmann::json SummaryJson(const DesignSummary& summary);

} // namespace vxinfo
