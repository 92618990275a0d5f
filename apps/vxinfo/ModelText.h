#pragma once
// A model description text read into its buffers, materials and subsets.

#include "vxinfo/DesignContent.h"

#include <optional>
#include <string>
#include <vector>

namespace vxinfo {

struct IndexBufferRef {
    int64_t count = 0;
    std::string file;
};

struct VertexBufferRef {
    int64_t count = 0;
    int64_t items = 0; // one bit per present channel 1-15 (bit j-1 for channel j)
    std::string file;
    // Where the buffer's vertices sit in the geometry: posX/posY/posZ and rotAz/rotEl/rotTw, zero
    // when left out.
    StoredPlacement placement;
};

struct NamedColour {
    std::string name; // Color, Ambient, Diffuse, Emissive or Specular
    Vec3 rgb {0, 0, 0};
};

struct TextureRef {
    int slot = 0;
    std::string name; // the stored texture's identifier text, or a file title when not stored
};

struct MaterialDesc {
    std::string effect;
    std::vector<NamedColour> colours;
    std::vector<std::pair<std::string, double>> floats; // Alpha, Power
    std::vector<TextureRef> textures;

    // The colour a viewer shows: "Color", else "Diffuse", else a light grey.
    Vec3 BaseColour() const;
    // The Alpha value, 1 when there is none.
    double Opacity() const;
};

struct SubsetDesc {
    int64_t type = 0;
    std::optional<int64_t> indexBuffer;
    int64_t vertexBuffer = 0;
    int64_t material = 0;
};

struct ModelDescription {
    std::vector<IndexBufferRef> indexBuffers;
    std::vector<VertexBufferRef> vertexBuffers;
    std::vector<MaterialDesc> materials;
    std::vector<SubsetDesc> subsets;
};

struct ModelTextResult {
    std::optional<ModelDescription> model;
    std::string error; // when there is no model: what is wrong
};

// Reads a model description: one <model> element holding IndexBuffer, VertexBuffer, Material and
// Subset elements. Fails (with the reason) on malformed markup, an unknown element, a missing or
// non-numeric required attribute, or a Material element that is not made of Color, Float and
// Texture elements. Subset numbers are read, not checked against the lists (CheckDesign does).
ModelTextResult ParseModelText(const std::string& text);

} // namespace vxinfo
