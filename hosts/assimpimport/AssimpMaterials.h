#pragma once
// The host materials and textures of an imported scene, made once per Assimp material and shared by
// every node that uses it.

#include "memoryhost/MemoryHost.h"

#include <assimp/scene.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vx {

// The name of Assimp material index as the host shows it: its own, else "Material #<index + 1>".
std::string GetAssimpMaterialName(const aiMaterial& material, unsigned index);

class AssimpMaterialTable {
public:
    // opacities holds the opacity of each of the scene's materials, by index, as the file means it
    // (see ReadAssimpOpacities). sceneFolder resolves relative texture paths; embedded images are
    // written to imageFolder. Without allowOutside an image file outside sceneFolder is not used
    // (its texture names no file) and is listed in RefusedImages.
    AssimpMaterialTable(const aiScene& scene, MemoryHost& host, std::vector<float> opacities,
        std::string sceneFolder, std::string imageFolder, bool allowOutside = false);

    // The image references refused for lying outside the scene's folder, each once, in order.
    const std::vector<std::string>& RefusedImages() const { return refusedImages_; }

    // The standard material of Assimp material index, made on first use: colours, shininess,
    // opacity, two-sided, wire, and its diffuse, specular, opacity and bump textures. Null for an
    // index the scene does not have. Throws std::runtime_error when an embedded image cannot be
    // written.
    MemoryMaterial* GetMaterial(unsigned index);
    // The texture coordinate sets (Assimp's set numbers) that material index uses, in the order
    // of the host map channels 1 and 2 they become: at most two; {0} when its textures name none.
    const std::vector<unsigned>& GetUvSets(unsigned index);
    // A multi/sub-object material whose sub-materials are the materials of indices, in order; one
    // per distinct list.
    MemoryMaterial* GetMultiMaterial(const std::vector<unsigned>& indices);

private:
    struct Converted {
        MemoryMaterial* material = nullptr;
        std::vector<unsigned> uvSets;
    };

    const Converted& Convert(unsigned index);
    void AddMaps(const aiMaterial& source, Converted& converted);
    // The host texture for an image path as the material names it, on mapChannel.
    MemoryTexture* GetTexture(const std::string& path, int mapChannel);
    // The file an image path names: an embedded image written out, or the path made absolute.
    std::string ResolveImage(const std::string& path);
    std::string WriteEmbedded(unsigned index);

    const aiScene& scene_;
    MemoryHost& host_;
    std::vector<float> opacities_;
    std::string sceneFolder_;
    std::string imageFolder_;
    bool allowOutside_ = false;
    std::vector<std::string> refusedImages_;
    std::map<unsigned, Converted> converted_;
    std::map<std::vector<unsigned>, MemoryMaterial*> multis_;
    std::map<std::pair<std::string, int>, MemoryTexture*> textures_;
    std::map<unsigned, std::string> embeddedFiles_;
};

} // namespace vx
