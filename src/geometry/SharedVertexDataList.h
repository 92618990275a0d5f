#pragma once
// SharedVertexDataList: the run's list of distinct vertex data, so that equal geometry of different
// objects is stored once. Emptied at the end of each run's conversion.

#include "toolkit/VMRef.h"
#include "toolkit/VMVertexData.h"

#include <cstddef>

namespace vx {

// The first vertex data of the list, in insertion order, for which SameVertexData holds with
// vertexData; otherwise vertexData is appended and returned. Null gives null. Only candidates with
// an equal VertexDataKey and a first position in a neighbouring grid cell are compared.
VMRef<VMVertexData> FindOrAddSharedVertexData(VMVertexData* vertexData);

// The number of vertex data in the list, and its emptying (done by the run itself).
std::size_t SharedVertexDataCount();
void EmptySharedVertexDataList();

} // namespace vx
