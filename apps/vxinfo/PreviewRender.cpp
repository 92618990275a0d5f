#include "vxinfo/PreviewRender.h"

#include "vxinfo/GeometryDecoding.h"
#include "vxinfo/SceneWalk.h"

#include <cmath>
#include <map>

namespace vxinfo {

Point3 CameraDirection(double azimuthDegrees, double elevationDegrees)
{
    const double az = azimuthDegrees * M_PI / 180.0;
    const double el = elevationDegrees * M_PI / 180.0;
    return {std::sin(az) * std::cos(el), std::cos(az) * std::cos(el), std::sin(el)};
}

RgbImage RenderPreview(
    const ReadOnlyDatabase& db, const DesignContent& content, int width, int height, int64_t* triangleCount)
{
    const PlacementIndex index = IndexPlacements(content);
    const FileIndex files = IndexFiles(content);
    std::map<Luid, const GeometryRow*> geometryRows;
    for (const GeometryRow& g : content.geometries)
        geometryRows[g.luid] = &g;
    std::map<Luid, DecodedGeometry> decoded;
    std::vector<ShadedTriangle> triangles;
    ForEachPlacedObject(content, index, [&](const ObjectRow& object, const Affine& toRoot) {
        if (!object.geometry || !geometryRows.count(*object.geometry))
            return;
        auto found = decoded.find(*object.geometry);
        if (found == decoded.end())
            found = decoded
                        .emplace(*object.geometry, DecodeGeometry(db, *geometryRows[*object.geometry], files))
                        .first;
        const Affine t = Multiply(toRoot, PlacementTransform(object.geometryPlacement));
        for (const DecodedSubset& subset : found->second.subsets) {
            const Vec3 colour = subset.material >= 0
                ? found->second.model.materials[static_cast<std::size_t>(subset.material)].BaseColour()
                : Vec3 {0.8, 0.8, 0.8};
            for (std::size_t k = 0; k + 2 < subset.indices.size(); k += 3) {
                ShadedTriangle triangle;
                triangle.colour = colour;
                for (std::size_t c = 0; c < 3; ++c) {
                    const auto& p = subset.positions[subset.indices[k + c]];
                    triangle.corners[c] = t.Apply({p[0], p[1], p[2]});
                }
                triangles.push_back(triangle);
            }
        }
    });
    if (triangleCount)
        *triangleCount = static_cast<int64_t>(triangles.size());
    ViewSetup view;
    view.width = width;
    view.height = height;
    double azimuth = 0, elevation = 0;
    if (!content.roots.empty()) {
        azimuth = content.roots.front().cameraAzimuth.value_or(0);
        elevation = content.roots.front().cameraElevation.value_or(0);
    }
    view.direction = CameraDirection(azimuth, elevation);
    view.up = {0, 0, 1};
    return RenderTriangles(triangles, view);
}

} // namespace vxinfo
