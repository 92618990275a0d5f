#pragma once
// Turning a triangle list inside out: the order of every triangle's corners reversed, so that a
// mirrored piece still faces the way its normals point.

#include "toolkit/VMVertexData.h"

namespace vx {

// Exchanges the second and third corner of every whole triangle of v: in the index list when v has
// one, otherwise in every vertex channel. A primitive type other than a triangle list (3), and a
// trailing part of a triangle, are left alone.
void ReverseWinding(VMVertexData& v);

} // namespace vx
