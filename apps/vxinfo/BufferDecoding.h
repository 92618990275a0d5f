#pragma once
// The byte layouts of vertex and index buffer files: interleaved 32-bit float channels per vertex,
// and 16-bit unsigned indices, both little-endian.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vxinfo {

// Where the channels sit in one interleaved vertex record.
struct VertexLayout {
    int stride = 0; // bytes per vertex
    int normalOffset = -1; // -1 when absent
    int texCoordOffset = -1; // first texture coordinate set; -1 when absent or not locatable
    int texCoordComponents = 0; // floats per texture coordinate set
};

struct VertexLayoutResult {
    bool ok = false;
    VertexLayout layout;
    std::string error; // when !ok: why the size does not fit the description
};

// The layout of a vertex buffer file of byteSize bytes described by count and items (bit j-1 for
// channel j: 1 positions 12 bytes, 2 normals 12, 3 colours 16, 4-7 custom data of any size, 8-15
// texture coordinate sets of 1 to 4 floats, all sets of one buffer the same width). Fails when
// positions are missing, count is negative, items has bits beyond channel 15, or byteSize is not
// count records of a size the channels allow.
VertexLayoutResult FindVertexLayout(int64_t count, int64_t items, int64_t byteSize);

// The positions (x, y, z) of count vertices of bytes laid out as layout; bytes must hold
// count x stride bytes (fewer give fewer positions).
std::vector<std::array<float, 3>> DecodePositions(const std::string& bytes, const VertexLayout& layout);
// The normals, or empty when the layout has none.
std::vector<std::array<float, 3>> DecodeNormals(const std::string& bytes, const VertexLayout& layout);
// The first two components of the first texture coordinate set (the second 0 when the set has one
// component), or empty when the layout has none.
std::vector<std::array<float, 2>> DecodeTexCoords(const std::string& bytes, const VertexLayout& layout);

// The 16-bit indices of an index buffer file (a trailing odd byte is ignored).
std::vector<uint16_t> DecodeIndices(const std::string& bytes);

} // namespace vxinfo
