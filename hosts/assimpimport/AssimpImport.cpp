#include "assimpimport/AssimpImport.h"

#include "assimpimport/AssimpMaterials.h"
#include "assimpimport/AssimpNodes.h"
#include "assimpimport/AssimpSceneFrame.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <filesystem>
#include <new>
#include <stdexcept>

namespace vx {

namespace {

// Triangles only, normals generated where the file has none, identical vertices joined, points and
// lines split off, invalid normals and coordinates dropped, and the result checked. The hierarchy
// is kept as it is (no flattening), so that shared meshes stay shared.
constexpr unsigned kPostProcessing = aiProcess_Triangulate | aiProcess_GenSmoothNormals
    | aiProcess_JoinIdenticalVertices | aiProcess_SortByPType | aiProcess_FindInvalidData
    | aiProcess_ValidateDataStructure;

std::unique_ptr<MemoryHost> ConvertScene(
    const aiScene& scene, const std::string& path, AssimpFileKind kind, const AssimpImportOptions& options)
{
    auto host = std::make_unique<MemoryHost>();
    host->SetSceneFile(path);
    const SceneFrame frame = GetSceneFrame(scene, kind, options.unit);
    host->SetMasterUnit(frame.unit);
    std::error_code ignored;
    const std::string imageFolder = std::filesystem::absolute(options.imageFolder, ignored).lexically_normal().string();
    AssimpMaterialTable materials(scene, *host, std::filesystem::path(path).parent_path().string(), imageFolder);
    BuildAssimpNodes(scene, kind, frame.top, *host, materials);
    return host;
}

} // namespace

AssimpImportResult ImportAssimpScene(const std::string& path, const AssimpImportOptions& options)
{
    AssimpImportResult result;
    std::error_code ignored;
    const std::string absolute = std::filesystem::absolute(path, ignored).lexically_normal().string();
    const AssimpFileKind kind = GetAssimpFileKind(absolute);
    Assimp::Importer importer;
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, true);
    try {
        const aiScene* scene = importer.ReadFile(absolute, kPostProcessing);
        if (!scene) {
            result.error = path + ": " + importer.GetErrorString();
            return result;
        }
        if (!scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
            result.error = path + ": the file holds no complete scene";
            return result;
        }
        result.scene = ConvertScene(*scene, absolute, kind, options);
    } catch (const std::bad_alloc&) {
        result.error = path + ": out of memory while importing";
    } catch (const std::exception& error) {
        result.error = path + ": " + error.what();
    }
    return result;
}

} // namespace vx
