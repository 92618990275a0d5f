#pragma once
// Equality of vertex data for sharing: exact where the data are exact (counts, indices, colours,
// texture coordinates), tolerant for positions and normals.

#include <cstdint>

namespace vx {

class VMVertexData;

// True when a and b have the same primitive type, index and vertex counts, byte-equal index lists,
// both or neither colours (byte-equal), per texture coordinate set the same presence, components
// and bytes, every position component within 2^-16, and (when both have normals) every pair of
// normals with a dot product of at least 0.9.
bool SameVertexData(const VMVertexData& a, const VMVertexData& b);

// A hash of the fields SameVertexData compares exactly; vertex data that are the same have equal
// keys. Linear in the size of the data.
uint64_t VertexDataKey(const VMVertexData& v);

} // namespace vx
