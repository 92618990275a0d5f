#pragma once
// The preview picture of a design: every placed geometry in the root's frame (WorldMesh), seen
// orthographically from a fixed side, Lambert-shaded from a fixed light, in its material's texture
// or colour.

#include "vxinfo/DesignContent.h"
#include "vxinfo/PreviewView.h"
#include "vxinfo/ReadOnlyDatabase.h"
#include "vxinfo/SoftwareRasteriser.h"

namespace vxinfo {

// The viewing direction, picture-up direction and light of view, in the database's frame (z up);
// the light comes from above, front (-y) and left (-x).
ViewSetup PreviewViewSetup(PreviewView view);

// Renders the design of db (rows in content) from view at width x height pixels on a white
// background. A subset whose material names a stored texture that decodes (the first such, as gltf
// embeds it) and whose buffer has texture coordinates shows the texture, (0, 0) at the image's
// top-left corner; others show the material colour (light grey without a material). Without a root
// record or geometry the picture is empty (all background). triangleCount, when given, receives the
// number of triangles drawn.
RgbImage RenderPreview(const ReadOnlyDatabase& db, const DesignContent& content, int width, int height,
    PreviewView view = PreviewView::Iso, int64_t* triangleCount = nullptr);

} // namespace vxinfo
