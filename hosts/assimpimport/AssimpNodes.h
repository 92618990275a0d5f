#pragma once
// The node hierarchy of an imported scene as host nodes.

#include "assimpimport/AssimpMaterials.h"
#include "assimpimport/AssimpSceneFrame.h"

#include "memoryhost/MemoryHost.h"

#include <assimp/scene.h>

namespace vx {

// Builds the host's nodes from scene's hierarchy under host's root. The Assimp root stands for the
// host's root: top (the root's transform with the axis conversion, SceneFrame) goes into the
// top-level nodes; a root that shows meshes, a camera or a light is a top-level node itself. FBX pivot
// helpers
// ("<name>_$AssimpFbx$_<part>") fold back into their node: the geometric parts become its object
// offset, the other parts its transform; the inverse geometric helpers above its children are
// dropped (children do not inherit an object offset). Nodes that show the same list of meshes share
// one mesh object and one material (a multi/sub-object material when the meshes have several);
// nodes named after a camera or a light show one of that super class; other nodes with children
// a group head (they head a group of their children), other leaves a plain helper object.
// Throws std::runtime_error for a hierarchy deeper than 256 levels or a mesh BuildMesh refuses.
void BuildAssimpNodes(const aiScene& scene, AssimpFileKind kind, const HostMatrix3& top, MemoryHost& host,
    AssimpMaterialTable& materials);

} // namespace vx
