#pragma once
// The optimisation of one vertex data: a 16-bit index list, degenerate triangles removed, equal
// vertices welded. Runs in time linear in the vertex count (welding looks up equal vertices by
// hash).

#include <cstdint>

namespace vx {

class VMVertexData;

// Optimises v in place. Unindexed data get the index list 0 .. n - 1, or, above 65535 vertices,
// the large weld (an index list only when fewer than 65536 distinct vertices remain and some were
// merged). Triangle lists then lose their degenerate triangles (all channels are freed when none
// remains) and their equal vertices are welded; when no vertex ends up shared the index list is
// dropped again and the vertices follow the index order.
void OptimiseVertexData(VMVertexData& v);

// Whether the triangle (i0, i1, i2) of v is worth keeping: indices in range and pairwise
// different, squared edge lengths at least 1e-30 and within a factor 1e8 of each other (e0 against
// e2), and a cross product whose squared length is at least e0 x e2 x 1e-8.
bool IsValidTriangle(const VMVertexData& v, int32_t i0, int32_t i1, int32_t i2);

// Whether vertices a and b of v are equal: positions, normals, colours and custom data byte for
// byte, texture coordinates as floats (0 equals -0).
bool SameVertex(const VMVertexData& v, int32_t a, int32_t b);

} // namespace vx
