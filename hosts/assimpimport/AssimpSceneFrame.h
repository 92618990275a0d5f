#pragma once
// The frame of an imported scene: Assimp's matrices in the host's convention, the axes of the file
// turned into the host's (z up), and the unit.

#include "host/HostMath.h"
#include "host/HostTypes.h"

#include <assimp/scene.h>

#include <optional>
#include <string>

namespace vx {

// The kinds of files the importer treats differently (by the file's extension).
enum class AssimpFileKind { Fbx, Gltf, Obj, Collada, Max3ds, Other };

// The kind of the file at path, by its extension (in any case).
AssimpFileKind GetAssimpFileKind(const std::string& path);

// m (column vectors, translation in the fourth column) as a host matrix (row vectors, translation
// in the fourth row). The product of Assimp matrices A * B becomes ToHostMatrix(B) * ToHostMatrix(A).
HostMatrix3 ToHostMatrix(const aiMatrix4x4& m);

// The rotation from the scene's axes into the host's right-handed, z-up axes, for transforms of
// top-level nodes. Assimp hands out y-up scenes, except FBX files, which keep the axes their
// global settings name (UpAxis, FrontAxis, CoordAxis and their signs in the scene's metadata).
HostMatrix3 GetAxisConversion(const aiScene& scene, AssimpFileKind kind);

// The scene's unit and the transform above its top-level nodes.
struct SceneFrame {
    HostUnitInfo unit;
    // The root node's transform (without the unit scale COLLADA puts there) and the axis conversion.
    HostMatrix3 top;
};

// The frame of scene. The unit: FBX from its "UnitScaleFactor" (centimetres per unit), COLLADA from
// the uniform scale Assimp gives the root node (metres per unit; the scale then leaves the root's
// transform, so that lengths stay as the file has them), glTF metres, other files fallback (metres
// when none). A factor that matches a host unit gives that unit, others a multiplier.
SceneFrame GetSceneFrame(
    const aiScene& scene, AssimpFileKind kind, const std::optional<HostUnitInfo>& fallback);

} // namespace vx
