#include "vxinfo/WorldMesh.h"

#include "vxinfo/SceneWalk.h"

#include <cmath>
#include <map>

namespace vxinfo {

std::string InstancePathText(const std::vector<const InstanceRow*>& instances)
{
    std::string text;
    for (const InstanceRow* i : instances) {
        if (!text.empty())
            text += '/';
        text += i->name.empty() ? "#" + std::to_string(i->luid) : i->name;
    }
    return text;
}

void ForEachPlacedGeometry(const ReadOnlyDatabase& db, const DesignContent& content,
    const std::function<void(const PlacedGeometry& placed)>& onGeometry)
{
    const PlacementIndex index = IndexPlacements(content);
    const FileIndex files = IndexFiles(content);
    std::map<Luid, const GeometryRow*> rows;
    for (const GeometryRow& g : content.geometries)
        rows.emplace(g.luid, &g);
    std::map<Luid, DecodedGeometry> decoded;
    ForEachPlacedObject(content, index, [&](const PlacedObject& placed) {
        const ObjectRow& object = placed.object;
        if (!object.geometry)
            return;
        const auto row = rows.find(*object.geometry);
        if (row == rows.end())
            return;
        auto geometry = decoded.find(row->first);
        if (geometry == decoded.end())
            geometry = decoded.emplace(row->first, DecodeGeometry(db, *row->second, files)).first;
        onGeometry(PlacedGeometry {geometry->second,
            Multiply(placed.toRoot, PlacementTransform(object.geometryPlacement)),
            Multiply(placed.toRoot, PlacementRotation(object.geometryPlacement)),
            InstancePathText(placed.path)});
    });
}

namespace {

Vec3 UnitOrZero(const Vec3& v)
{
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(length > 1e-12) || !std::isfinite(length))
        return {0, 0, 0};
    return {v[0] / length, v[1] / length, v[2] / length};
}

void AddTriangles(const PlacedGeometry& placed, std::vector<WorldTriangle>& out)
{
    for (const DecodedSubset& subset : placed.geometry.subsets) {
        const bool hasNormals = subset.normals.size() == subset.positions.size();
        for (std::size_t k = 0; k + 2 < subset.indices.size(); k += 3) {
            WorldTriangle t;
            for (std::size_t c = 0; c < 3; ++c) {
                const uint32_t v = subset.indices[k + c];
                const auto& p = subset.positions[v];
                t.corners[c] = placed.toRoot.Apply({p[0], p[1], p[2]});
                if (hasNormals) {
                    const auto& n = subset.normals[v];
                    t.normals[c] = UnitOrZero(placed.turnToRoot.ApplyDirection({n[0], n[1], n[2]}));
                } else {
                    t.normals[c] = {0, 0, 0};
                }
            }
            t.path = placed.path;
            t.geometry = placed.geometry.luid;
            t.material = static_cast<int>(subset.material);
            out.push_back(std::move(t));
        }
    }
}

} // namespace

std::vector<WorldTriangle> CollectWorldTriangles(const ReadOnlyDatabase& db, const DesignContent& content)
{
    std::vector<WorldTriangle> triangles;
    ForEachPlacedGeometry(
        db, content, [&](const PlacedGeometry& placed) { AddTriangles(placed, triangles); });
    return triangles;
}

} // namespace vxinfo
