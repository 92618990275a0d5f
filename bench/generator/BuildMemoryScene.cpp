#include "generator/BuildMemoryScene.h"

#include "host/HostClassId.h"

#include <vector>

namespace vx::bench {

namespace {

std::unique_ptr<MemoryMesh> MakeMemoryMesh(const GeneratedMesh& mesh)
{
    auto memory = std::make_unique<MemoryMesh>();
    memory->SetVerts({mesh.verts.begin(), mesh.verts.end()});
    memory->SetFaces({mesh.faces.begin(), mesh.faces.end()});
    MemoryMapChannel channel;
    channel.verts.assign(mesh.uvs.begin(), mesh.uvs.end());
    channel.faces.reserve(mesh.faces.size());
    for (const HostFace& face : mesh.faces)
        channel.faces.push_back(HostTVFace {{face.v[0], face.v[1], face.v[2]}});
    memory->SetMapChannel(1, std::move(channel));
    return memory;
}

} // namespace

std::unique_ptr<MemoryHost> BuildMemoryScene(
    const GeneratedScene& scene, const std::string& textureFolder, const std::string& sceneFile)
{
    auto host = std::make_unique<MemoryHost>();
    host->SetSceneFile(sceneFile);

    std::vector<MemoryTexture*> textures;
    for (const GeneratedTexture& texture : scene.textures) {
        MemoryTexture& memory = host->AddTexture(kClassBitmapTexture, texture.name);
        memory.mapName = textureFolder + "/" + texture.fileName;
        textures.push_back(&memory);
    }

    std::vector<MemoryMaterial*> materials;
    for (const GeneratedMaterial& material : scene.materials) {
        MemoryMaterial& memory
            = host->AddMaterial(material.multi ? kClassMultiMaterial : kClassStandardMaterial, material.name);
        memory.diffuse = material.diffuse;
        if (material.texture >= 0)
            memory.SetMap(1, MemoryMaterialMap {textures[static_cast<size_t>(material.texture)], 1.0f, true});
        materials.push_back(&memory);
    }
    for (size_t i = 0; i < scene.materials.size(); ++i)
        for (int sub : scene.materials[i].subMaterials)
            materials[i]->subMaterials.push_back(materials[static_cast<size_t>(sub)]);

    MemoryObject* groupHead = nullptr;
    std::vector<MemoryObject*> objects;
    for (const GeneratedMesh& mesh : scene.meshes) {
        MemoryObject& object = host->AddObject(kSuperClassGeometry, kClassTriangleMesh);
        object.SetMesh(MakeMemoryMesh(mesh));
        objects.push_back(&object);
    }

    std::vector<MemoryNode*> nodes;
    for (const GeneratedNode& node : scene.nodes) {
        MemoryNode& parent = node.parent < 0 ? host->GetRoot() : *nodes[static_cast<size_t>(node.parent)];
        MemoryNode& memory = host->AddNode(parent, node.name);
        memory.SetLocalTM(MakeNodeTransform(node));
        if (node.group) {
            if (!groupHead)
                groupHead = &host->AddObject(kSuperClassHelper, kClassGroupHead);
            memory.SetObjectRef(groupHead);
        }
        if (node.mesh >= 0)
            memory.SetObjectRef(objects[static_cast<size_t>(node.mesh)]);
        if (node.material >= 0)
            memory.SetMaterial(materials[static_cast<size_t>(node.material)]);
        memory.SetUserPropBuffer(node.userProperties.c_str());
        nodes.push_back(&memory);
    }
    return host;
}

} // namespace vx::bench
