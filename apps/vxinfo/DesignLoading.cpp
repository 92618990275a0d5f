#include "vxinfo/DesignLoading.h"

namespace vxinfo {

namespace {

Vec3 ReadVec3(const QueryRow& row, int first, double fallback, bool* complete = nullptr)
{
    Vec3 v {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> value = row.Real(first + i);
        if (!value && complete)
            *complete = false;
        v[static_cast<std::size_t>(i)] = value.value_or(fallback);
    }
    return v;
}

void Load(const ReadOnlyDatabase& db, DesignContent& content, const char* table, const std::string& sql,
    const std::function<void(const QueryRow&)>& onRow)
{
    const std::string reason = db.ForEachRow(sql, onRow);
    if (!reason.empty())
        content.unreadable.push_back(std::string(table) + ": " + reason);
}

} // namespace

DesignContent LoadDesign(const ReadOnlyDatabase& db, const std::string& path)
{
    DesignContent c;
    c.path = path;
    Load(db, c, "Guids", "SELECT luid, guid FROM Guids ORDER BY luid;", [&](const QueryRow& r) {
        c.guids.push_back({r.Integer(0).value_or(0), r.Text(1), r.IsBlob(1)});
    });
    Load(db, c, "CompositeObjects",
        "SELECT luid, name, aabb_min_x, aabb_min_y, aabb_min_z, aabb_max_x, aabb_max_y, aabb_max_z, "
        "geometry_luid, geometry_pos_x, geometry_pos_y, geometry_pos_z, geometry_rot_az, geometry_rot_el, "
        "geometry_rot_tw, geometry_scale_x, geometry_scale_y, geometry_scale_z, lod_id "
        "FROM CompositeObjects ORDER BY luid;",
        [&](const QueryRow& r) {
            ObjectRow o;
            o.luid = r.Integer(0).value_or(0);
            o.name = r.Text(1);
            o.boxMin = ReadVec3(r, 2, 0);
            o.boxMax = ReadVec3(r, 5, 0);
            o.geometry = r.Integer(8);
            if (o.geometry) {
                o.geometryPlacement.position = ReadVec3(r, 9, 0, &o.geometryPlacementComplete);
                o.geometryPlacement.angles = ReadVec3(r, 12, 0, &o.geometryPlacementComplete);
                o.geometryPlacement.scale = ReadVec3(r, 15, 1, &o.geometryPlacementComplete);
            }
            o.lod = r.Integer(18).value_or(0);
            c.objects.push_back(o);
        });
    Load(db, c, "Geometries", "SELECT luid, name, model FROM Geometries ORDER BY luid;",
        [&](const QueryRow& r) {
            c.geometries.push_back({r.Integer(0).value_or(0), r.Text(1), r.Text(2)});
        });
    Load(db, c, "ObjectInstances",
        "SELECT luid, name, ownerobject_luid, object_luid, pos_x, pos_y, pos_z, rot_az, rot_el, rot_tw, "
        "length, height, width, flags FROM ObjectInstances ORDER BY luid;",
        [&](const QueryRow& r) {
            InstanceRow i;
            i.luid = r.Integer(0).value_or(0);
            i.name = r.Text(1);
            i.owner = r.Integer(2).value_or(0);
            i.object = r.Integer(3).value_or(0);
            i.placement.position = ReadVec3(r, 4, 0);
            i.placement.angles = ReadVec3(r, 7, 0);
            i.length = r.Real(10);
            i.height = r.Real(11);
            i.width = r.Real(12);
            i.flags = r.Integer(13).value_or(0);
            c.instances.push_back(i);
        });
    Load(db, c, "Files", "SELECT id, geometry_luid, filename, length(data) FROM Files ORDER BY id;",
        [&](const QueryRow& r) {
            c.files.push_back(
                {r.Integer(0).value_or(0), r.Integer(1).value_or(0), r.Text(2), r.Integer(3).value_or(0)});
        });
    Load(db, c, "Textures", "SELECT luid, name, length(data) FROM Textures ORDER BY luid;",
        [&](const QueryRow& r) {
            c.textures.push_back({r.Integer(0).value_or(0), r.Text(1), r.Integer(2).value_or(0)});
        });
    Load(db, c, "PropertyDictionary", "SELECT luid, name, type FROM PropertyDictionary ORDER BY luid;",
        [&](const QueryRow& r) {
            c.dictionary.push_back({r.Integer(0).value_or(0), r.Text(1), r.Integer(2).value_or(0)});
        });
    Load(db, c, "Properties",
        "SELECT luid, propdic_luid, value, length(binarydata) FROM Properties ORDER BY luid, propdic_luid;",
        [&](const QueryRow& r) {
            PropertyRow p;
            p.luid = r.Integer(0).value_or(0);
            p.dictionary = r.Integer(1).value_or(0);
            if (!r.IsNull(2))
                p.value = r.Text(2);
            p.binarySize = r.Integer(3).value_or(0);
            c.properties.push_back(p);
        });
    Load(db, c, "Roots",
        "SELECT object_luid, camera_x, camera_y, camera_z, camera_az, camera_el FROM Roots ORDER BY "
        "object_luid;",
        [&](const QueryRow& r) {
            RootRow root;
            root.object = r.Integer(0).value_or(0);
            if (!r.IsNull(1) && !r.IsNull(2) && !r.IsNull(3))
                root.camera = ReadVec3(r, 1, 0);
            root.cameraAzimuth = r.Real(4);
            root.cameraElevation = r.Real(5);
            c.roots.push_back(root);
        });
    Load(db, c, "StretchableInfo", "SELECT object_luid, type FROM StretchableInfo;", [&](const QueryRow& r) {
        c.stretches.push_back({r.Integer(0).value_or(0), r.Integer(1).value_or(0)});
    });
    Load(db, c, "CurrentVersion", "SELECT guid, schema FROM CurrentVersion;", [&](const QueryRow& r) {
        c.versionGuid.push_back(r.Text(0));
        c.versionSchema.push_back(r.Text(1));
    });
    return c;
}

std::optional<std::string> ReadFileBytes(const ReadOnlyDatabase& db, int64_t id)
{
    return db.Blob("SELECT data FROM Files WHERE id = ?;", id);
}

std::optional<std::string> ReadTextureBytes(const ReadOnlyDatabase& db, Luid luid)
{
    return db.Blob("SELECT data FROM Textures WHERE luid = ?;", luid);
}

} // namespace vxinfo
