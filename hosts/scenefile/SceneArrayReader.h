#pragma once
// The large arrays of a scene file (vertices, faces, smoothing groups, material ids, normals, map
// channels, pixels). Each stands either inline as a JSON array or in a side file, named by a buffer
// reference {"buffer": index, "offset": bytes, "count": items, "type": item type} and read as
// little-endian binary. Every item is checked (finite numbers, indices in range) as it is read.

#include "host/HostBitmap.h"
#include "host/HostMesh.h"
#include "memoryhost/MemoryMesh.h"
#include "scenefile/SceneReadContext.h"

#include <cstdint>
#include <vector>

namespace vx {

// Points [x, y, z] (buffer type "f32x3"). With allowUv also [u, v] ("f32x2"), w then being 0.
MeshArray<HostPoint3> ReadPointArray(SceneReadContext& context, const JsonAt& at, bool allowUv);

// Faces [a, b, c] ("u32x3" or "u16x3") whose indices are below vertexCount; smoothing groups and
// flags are left 0.
MeshArray<HostFace> ReadFaceArray(SceneReadContext& context, const JsonAt& at, std::uint64_t vertexCount);

// Map faces [a, b, c] ("u32x3" or "u16x3") whose indices are below mapVertexCount.
MeshArray<HostTVFace> ReadMapFaceArray(
    SceneReadContext& context, const JsonAt& at, std::uint64_t mapVertexCount);

// Unsigned integers ("u32" or "u16") of at most maxValue; what names them in messages.
std::vector<std::uint32_t> ReadValueArray(
    SceneReadContext& context, const JsonAt& at, std::uint32_t maxValue, const char* what);

// Refuses a scene (SizeLimit, at the array that passes the limit) whose side-file arrays, as their
// references declare them (count x item size), need more than the scene's array memory allows
// together, before any of them is read or allocated. References of unknown types are left to the
// readers, which refuse them with their reason.
void CheckDeclaredArrays(SceneReadContext& context, const JsonAt& at);

// Pixels [r, g, b, a] of 0..255 each ("u8x4"), widened to 16 bits per channel.
std::vector<HostPixel64> ReadPixelArray(SceneReadContext& context, const JsonAt& at);

} // namespace vx
