#include "VxinfoTinyDesign.h"

#include "vxinfo/IdentifierText.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstring>

namespace vxtest {

namespace {

std::string Number(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string Triple(const std::array<double, 3>& v)
{
    return Number(v[0]) + ", " + Number(v[1]) + ", " + Number(v[2]);
}

std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

void AppendFloats(std::string& bytes, std::initializer_list<double> values)
{
    for (double v : values) {
        const auto f = static_cast<float>(v);
        char raw[4];
        std::memcpy(raw, &f, 4);
        bytes.append(raw, 4);
    }
}

// The 16 identifier bytes of the Guids row of luid.
std::string GuidBytes(int64_t luid)
{
    std::string bytes(16, '\x5A');
    std::memcpy(bytes.data(), &luid, sizeof luid);
    return bytes;
}

// The cube's vertex records (position, normal, texture coordinates) and 16-bit indices.
void CubeBuffers(std::string& vertices, std::string& indices)
{
    using V = std::array<double, 3>;
    // Each face: a corner and two edges whose cross product points outwards.
    const std::array<V, 3> faces[]
        = {{V {0, 0, 0}, V {1, 0, 0}, V {0, 0, 1}}, {V {1, 1, 0}, V {-1, 0, 0}, V {0, 0, 1}},
            {V {0, 1, 0}, V {0, -1, 0}, V {0, 0, 1}}, {V {1, 0, 0}, V {0, 1, 0}, V {0, 0, 1}},
            {V {0, 0, 1}, V {1, 0, 0}, V {0, 1, 0}}, {V {0, 1, 0}, V {1, 0, 0}, V {0, -1, 0}}};
    uint16_t base = 0;
    for (const auto& [o, a, b] : faces) {
        const V n {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        const double corner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}}; // multiples of the two edges
        for (const auto& [s, t] : corner)
            AppendFloats(vertices,
                {o[0] + s * a[0] + t * b[0], o[1] + s * a[1] + t * b[1], o[2] + s * a[2] + t * b[2], n[0],
                    n[1], n[2], s, 1 - t});
        for (const uint16_t k : {0, 1, 2, 0, 2, 3}) {
            const uint16_t index = static_cast<uint16_t>(base + k);
            indices.append(reinterpret_cast<const char*>(&index), 2);
        }
        base = static_cast<uint16_t>(base + 4);
    }
}

std::string PlacementAttributes(const TinyPlacement& p)
{
    return " posX='" + Number(p.position[0]) + "' posY='" + Number(p.position[1]) + "' posZ='"
        + Number(p.position[2]) + "' rotAz='" + Number(p.angles[0]) + "' rotEl='" + Number(p.angles[1])
        + "' rotTw='" + Number(p.angles[2]) + "'";
}

constexpr const char* SCHEMA = R"(
CREATE TABLE Guids (luid INTEGER, guid BLOB);
CREATE TABLE CompositeObjects (luid INTEGER, name TEXT, aabb_min_x REAL, aabb_min_y REAL, aabb_min_z REAL,
  aabb_max_x REAL, aabb_max_y REAL, aabb_max_z REAL, geometry_luid INTEGER, geometry_pos_x REAL,
  geometry_pos_y REAL, geometry_pos_z REAL, geometry_rot_az REAL, geometry_rot_el REAL, geometry_rot_tw REAL,
  geometry_scale_x REAL, geometry_scale_y REAL, geometry_scale_z REAL, lod_id INTEGER);
CREATE TABLE Geometries (luid INTEGER, name TEXT, model TEXT);
CREATE TABLE ObjectInstances (luid INTEGER, name TEXT, ownerobject_luid INTEGER, object_luid INTEGER,
  pos_x REAL, pos_y REAL, pos_z REAL, rot_az REAL, rot_el REAL, rot_tw REAL, length REAL, height REAL,
  width REAL, flags INTEGER);
CREATE TABLE Files (id INTEGER PRIMARY KEY, geometry_luid INTEGER, filename TEXT, data BLOB);
CREATE TABLE Textures (luid INTEGER, name TEXT, data BLOB);
CREATE TABLE Roots (object_luid INTEGER, camera_x REAL, camera_y REAL, camera_z REAL, camera_az REAL,
  camera_el REAL);
)";

} // namespace

std::string TinyDesign::TextureName(int64_t luid)
{
    return vxinfo::IdentifierText(GuidBytes(luid));
}

void TinyDesign::AddCube(int64_t geometry, std::array<double, 3> colour, std::optional<int64_t> texture,
    const TinyPlacement& bufferPlacement)
{
    std::string vertices, indices;
    CubeBuffers(vertices, indices);
    const std::string g = std::to_string(geometry);
    const std::string vtx = "0x" + g + ".vtx", idx = "0x" + g + ".idx";
    std::string model = "<model><IndexBuffer count='36' file='" + idx
        + "'/><VertexBuffer count='24' items='131' " + "file='" + vtx + "'"
        + PlacementAttributes(bufferPlacement) + "/><Material effect='Diffuse'>" + "<Color name=\"Color\"><R>"
        + Number(colour[0]) + "</R><G>" + Number(colour[1]) + "</G><B>" + Number(colour[2]) + "</B></Color>";
    if (texture)
        model += "<Texture name='Texture0@Name'>" + TextureName(*texture) + "</Texture>";
    model += "</Material><Subset type='3' indexbuffer='0' vertexbuffer='0' material='0'/></model>";
    statements_.push_back(
        "INSERT INTO Geometries VALUES (" + g + ", " + Quoted("cube " + g) + ", " + Quoted(model) + ");");
    for (const auto& [name, bytes] : {std::pair {vtx, vertices}, std::pair {idx, indices}})
        blobStatements_.emplace_back("INSERT INTO Files VALUES (" + std::to_string(nextFile_++) + ", " + g
                + ", " + Quoted(name) + ", ?);",
            bytes);
}

void TinyDesign::AddUndecodableGeometry(int64_t geometry)
{
    statements_.push_back("INSERT INTO Geometries VALUES (" + std::to_string(geometry)
        + ", 'lost', '<model><VertexBuffer count=''3'' items=''1'' file=''lost.vtx''/>"
          "<Subset type=''3'' vertexbuffer=''0'' material=''0''/></model>');");
}

void TinyDesign::AddObject(int64_t luid, const std::string& name, std::optional<int64_t> geometry,
    const TinyPlacement& geometryPlacement)
{
    statements_.push_back("INSERT INTO CompositeObjects VALUES (" + std::to_string(luid) + ", " + Quoted(name)
        + ", 0, 0, 0, 0, 0, 0, " + (geometry ? std::to_string(*geometry) : std::string("NULL")) + ", "
        + Triple(geometryPlacement.position) + ", " + Triple(geometryPlacement.angles) + ", "
        + Triple(geometryPlacement.scale) + ", 0);");
    blobStatements_.emplace_back(
        "INSERT INTO Guids VALUES (" + std::to_string(luid) + ", ?);", GuidBytes(luid));
}

void TinyDesign::AddInstance(
    int64_t luid, const std::string& name, int64_t owner, int64_t object, const TinyPlacement& placement)
{
    statements_.push_back("INSERT INTO ObjectInstances VALUES (" + std::to_string(luid) + ", " + Quoted(name)
        + ", " + std::to_string(owner) + ", " + std::to_string(object) + ", " + Triple(placement.position)
        + ", " + Triple(placement.angles) + ", NULL, NULL, NULL, 0);");
}

void TinyDesign::AddTexture(int64_t luid, const std::string& imageBytes)
{
    blobStatements_.emplace_back(
        "INSERT INTO Textures VALUES (" + std::to_string(luid) + ", 'texture', ?);", imageBytes);
    blobStatements_.emplace_back(
        "INSERT INTO Guids VALUES (" + std::to_string(luid) + ", ?);", GuidBytes(luid));
}

std::string TinyDesign::Write(const std::string& path) const
{
    sqlite3* db = nullptr;
    std::string failure;
    const auto check = [&](int rc) {
        if (rc != SQLITE_OK && rc != SQLITE_DONE && failure.empty())
            failure = sqlite3_errmsg(db);
    };
    check(sqlite3_open(path.c_str(), &db));
    std::string sql = SCHEMA;
    for (const std::string& s : statements_)
        sql += s + "\n";
    sql += "INSERT INTO Roots VALUES (" + std::to_string(root_) + ", 0, 0, 0, 0, 0);\n";
    if (failure.empty())
        check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr));
    for (const auto& [text, blob] : blobStatements_) {
        sqlite3_stmt* statement = nullptr;
        check(sqlite3_prepare_v2(db, text.c_str(), -1, &statement, nullptr));
        if (statement) {
            check(sqlite3_bind_blob(
                statement, 1, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT));
            check(sqlite3_step(statement));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return failure;
}

std::string WriteNestedDesign(const std::string& path)
{
    TinyDesign d;
    d.AddCube(100, {0.8, 0.8, 0.8});
    d.AddCube(101, {0.2, 0.4, 0.6}, std::nullopt, {{0, 0, 1}, {0, 0, 0}, {1, 1, 1}});
    d.AddUndecodableGeometry(102);
    d.AddObject(10, "Root", 100, {{0, 0, 5}, {0, 0, 0}, {1, 2, 3}});
    d.AddObject(11, "A", 101, {{0, 0, 0}, {0, 0, 0}, {1, 1, 2}});
    d.AddObject(12, "B", 100);
    d.AddObject(13, "C", 102);
    d.AddInstance(20, "Left", 10, 11, {{10, 0, 0}, {0, 0, -90}, {1, 1, 1}});
    d.AddInstance(21, "", 11, 12, {{1, 0, 0}, {0, 0, 0}, {1, 1, 1}});
    d.AddInstance(22, "Broken", 10, 13);
    d.AddInstance(23, "Loop", 12, 11);
    d.AddInstance(24, "Ghost", 10, 99);
    d.SetRoot(10);
    return d.Write(path);
}

} // namespace vxtest
