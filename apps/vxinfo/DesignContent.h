#pragma once
// The rows of a design database as plain records: what the inspector's sub-commands read. Blobs
// are not held here (only their sizes); they are read on demand (ReadFileBytes, ReadTextureBytes).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vxinfo {

using Luid = int64_t;
using Vec3 = std::array<double, 3>;

// A position, three angles in degrees (azimuth, elevation, twist) and a scale, in the database's
// axes, as the rows store placements.
struct StoredPlacement {
    Vec3 position {0, 0, 0};
    Vec3 angles {0, 0, 0};
    Vec3 scale {1, 1, 1};
};

struct ObjectRow {
    Luid luid = 0;
    std::string name;
    Vec3 boxMin {0, 0, 0};
    Vec3 boxMax {0, 0, 0};
    std::optional<Luid> geometry;
    StoredPlacement geometryPlacement; // meaningful when geometry is set
    bool geometryPlacementComplete = true; // false when a geometry placement column is NULL
    int64_t lod = 0;
};

struct GeometryRow {
    Luid luid = 0;
    std::string name;
    std::string model;
};

struct InstanceRow {
    Luid luid = 0;
    std::string name;
    Luid owner = 0;
    Luid object = 0;
    StoredPlacement placement;
    std::optional<double> length, height, width;
    int64_t flags = 0;
};

struct FileRow {
    int64_t id = 0;
    Luid geometry = 0;
    std::string name;
    int64_t size = 0;
};

struct TextureRow {
    Luid luid = 0;
    std::string name;
    int64_t size = 0;
};

struct DictionaryRow {
    Luid luid = 0;
    std::string name;
    int64_t type = 0;
};

struct PropertyRow {
    Luid luid = 0;
    Luid dictionary = 0;
    std::optional<std::string> value;
    int64_t binarySize = 0;
};

struct GuidRow {
    Luid luid = 0;
    std::string bytes; // the stored blob (16 bytes when sound)
    bool isBlob = false;
};

struct RootRow {
    Luid object = 0;
    std::optional<Vec3> camera;
    std::optional<double> cameraAzimuth, cameraElevation;
};

struct StretchRow {
    Luid object = 0;
    int64_t type = 0;
};

struct DesignContent {
    std::string path;
    std::vector<GuidRow> guids;
    std::vector<ObjectRow> objects;
    std::vector<GeometryRow> geometries;
    std::vector<InstanceRow> instances;
    std::vector<FileRow> files;
    std::vector<TextureRow> textures;
    std::vector<DictionaryRow> dictionary;
    std::vector<PropertyRow> properties;
    std::vector<RootRow> roots;
    std::vector<StretchRow> stretches;
    std::vector<std::string> versionGuid; // CurrentVersion.guid of each row (bytes)
    std::vector<std::string> versionSchema; // CurrentVersion.schema of each row (bytes)
    // Tables that could not be read, each as "<table>: <reason>".
    std::vector<std::string> unreadable;
};

} // namespace vxinfo
