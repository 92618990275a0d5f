#include "vxinfo/PreviewRender.h"

#include "vxinfo/DesignLoading.h"
#include "vxinfo/ImageConversion.h"
#include "vxinfo/TextureIndex.h"
#include "vxinfo/WorldMesh.h"

#include <cmath>
#include <map>

namespace vxinfo {

ViewSetup PreviewViewSetup(PreviewView view)
{
    ViewSetup setup;
    setup.light = {-0.3, -0.7, 1.0};
    setup.ambient = 0.3;
    switch (view) {
    case PreviewView::Iso: {
        const double down = 35 * M_PI / 180, across = std::cos(down) * std::sqrt(0.5);
        setup.direction = {across, across, -std::sin(down)};
        setup.up = {0, 0, 1};
        break;
    }
    case PreviewView::Front:
        setup.direction = {0, 1, 0};
        setup.up = {0, 0, 1};
        break;
    case PreviewView::Top:
        setup.direction = {0, 0, -1};
        setup.up = {0, 1, 0};
        break;
    }
    return setup;
}

namespace {

// The decoded texture of each material, looked up and decoded once per stored texture.
class MaterialTextures {
public:
    MaterialTextures(const ReadOnlyDatabase& db, const DesignContent& content)
        : db_(db)
        , index_(content)
    {
    }

    // The image of the first texture of material that is stored and decodes; null when none is.
    const RgbImage* Of(const MaterialDesc& material)
    {
        for (const TextureRef& t : material.textures) {
            const std::optional<Luid> luid = index_.Find(t.name);
            if (!luid)
                continue;
            auto [entry, added] = images_.try_emplace(*luid);
            if (added) {
                const std::optional<std::string> bytes = ReadTextureBytes(db_, *luid);
                if (bytes)
                    entry->second = DecodeRgbImage(*bytes);
            }
            if (entry->second)
                return &*entry->second;
        }
        return nullptr;
    }

private:
    const ReadOnlyDatabase& db_;
    TextureIndex index_;
    std::map<Luid, std::optional<RgbImage>> images_;
};

void AddSubset(const PlacedGeometry& placed, const DecodedSubset& subset, MaterialTextures& textures,
    std::vector<ShadedTriangle>& out)
{
    ShadedTriangle base;
    if (subset.material >= 0) {
        const MaterialDesc& material
            = placed.geometry.model.materials[static_cast<std::size_t>(subset.material)];
        base.colour = material.BaseColour();
        if (subset.texCoords.size() == subset.positions.size())
            base.texture = textures.Of(material);
    }
    for (std::size_t k = 0; k + 2 < subset.indices.size(); k += 3) {
        ShadedTriangle triangle = base;
        for (std::size_t c = 0; c < 3; ++c) {
            const uint32_t v = subset.indices[k + c];
            const auto& p = subset.positions[v];
            triangle.corners[c] = placed.toRoot.Apply({p[0], p[1], p[2]});
            if (triangle.texture)
                triangle.texCoords[c] = {subset.texCoords[v][0], subset.texCoords[v][1]};
        }
        out.push_back(triangle);
    }
}

} // namespace

RgbImage RenderPreview(const ReadOnlyDatabase& db, const DesignContent& content, int width, int height,
    PreviewView view, int64_t* triangleCount)
{
    MaterialTextures textures(db, content);
    std::vector<ShadedTriangle> triangles;
    ForEachPlacedGeometry(db, content, [&](const PlacedGeometry& placed) {
        for (const DecodedSubset& subset : placed.geometry.subsets)
            AddSubset(placed, subset, textures, triangles);
    });
    if (triangleCount)
        *triangleCount = static_cast<int64_t>(triangles.size());
    ViewSetup setup = PreviewViewSetup(view);
    setup.width = width;
    setup.height = height;
    return RenderTriangles(triangles, setup);
}

} // namespace vxinfo
