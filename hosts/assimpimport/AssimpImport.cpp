#include "assimpimport/AssimpImport.h"

#include "assimpimport/AssimpFolderBound.h"

#include "assimpimport/AssimpMaterials.h"
#include "assimpimport/AssimpNodes.h"
#include "assimpimport/AssimpOpacity.h"
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

// Converts scene into result's scene; the assumptions made go to result's notes, each after name
// (the path as the caller gave it).
void ConvertScene(const aiScene& scene, const std::string& path, const std::string& name, AssimpFileKind kind,
    const AssimpImportOptions& options, AssimpImportResult& result)
{
    auto host = std::make_unique<MemoryHost>();
    host->SetSceneFile(path);
    const SceneFrame frame = GetSceneFrame(scene, kind, options.unit);
    host->SetMasterUnit(frame.unit);
    std::error_code ignored;
    const std::string imageFolder
        = std::filesystem::absolute(options.imageFolder, ignored).lexically_normal().string();
    AssimpOpacities opacities = ReadAssimpOpacities(scene, kind);
    AssimpMaterialTable materials(scene, *host, std::move(opacities.values),
        std::filesystem::path(path).parent_path().string(), imageFolder, options.allowOutsideReferences);
    BuildAssimpNodes(scene, kind, frame.top, *host, materials);
    for (const std::string& reference : materials.RefusedImages())
        result.notes.push_back(name + ": " + DescribeRefusedReference(reference));
    result.scene = std::move(host);
    for (const std::string& note : opacities.notes)
        result.notes.push_back(name + ": " + note);
}

// One sentence for each file the import was refused.
std::vector<std::string> DescribeRefusedFiles(const RefusedFiles& refused)
{
    std::vector<std::string> sentences;
    for (const std::string& reference : refused.outsideFolder)
        sentences.push_back(DescribeRefusedReference(reference));
    for (const std::string& reference : refused.notRegular)
        sentences.push_back(DescribeSpecialFileReference(reference));
    return sentences;
}

} // namespace

AssimpImportResult ImportAssimpScene(const std::string& path, const AssimpImportOptions& options)
{
    AssimpImportResult result;
    std::error_code ignored;
    const std::string absolute = std::filesystem::absolute(path, ignored).lexically_normal().string();
    const AssimpFileKind kind = GetAssimpFileKind(absolute);
    Assimp::Importer importer;
    RefusedFiles refused;
    const std::string folder = std::filesystem::path(absolute).parent_path().string();
    importer.SetIOHandler(new FolderBoundIOSystem(folder, !options.allowOutsideReferences, refused));
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, true);
    // A COLLADA file without meshes would get a made-up mesh that draws its node hierarchy.
    importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
    try {
        // A file without meshes (only cameras, lights or empty nodes) comes flagged incomplete;
        // it is a scene all the same, in which the exporter finds no geometry.
        const aiScene* scene = importer.ReadFile(absolute, kPostProcessing);
        if (!scene && std::string(importer.GetErrorString()).find("bad_alloc") != std::string::npos)
            throw std::bad_alloc(); // Assimp caught it and kept only its text
        if (!scene) {
            result.error = path + ": " + importer.GetErrorString();
            for (const std::string& note : DescribeRefusedFiles(refused))
                result.error += "; " + note;
            return result;
        }
        if (!scene->mRootNode) {
            result.error = path + ": the file holds no scene";
            return result;
        }
        ConvertScene(*scene, absolute, path, kind, options, result);
        for (const std::string& note : DescribeRefusedFiles(refused))
            result.notes.push_back(path + ": " + note);
    } catch (const std::bad_alloc&) {
        result.scene.reset();
        result.outOfMemory = true;
        result.error = path + ": the importer ran out of memory";
    } catch (const std::exception& error) {
        result.error = path + ": " + error.what();
    }
    return result;
}

} // namespace vx
