#pragma once
// Reads a mesh of a scene file: vertices, faces, smoothing groups, material ids, explicit normals
// and map channels, each checked against the others.

#include "memoryhost/MemoryMesh.h"
#include "scenefile/SceneReadContext.h"

#include <memory>

namespace vx {

std::unique_ptr<MemoryMesh> ReadMesh(SceneReadContext& context, const JsonAt& at);

} // namespace vx
