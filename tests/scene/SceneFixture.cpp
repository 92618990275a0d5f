#include "SceneFixture.h"

#include "scene/ReferencedNodes.h"

#include "design/CompositeObject.h"
#include "run/NodeProgressHook.h"

#include <fstream>
#include <memory>
#include <sstream>

namespace vxtest {

SceneFixture::SceneFixture()
{
    vx::CurrentExporter() = &run;
    vx::CurrentSceneContext() = &context;
    vx::NodeProgressHook() = nullptr;
    run.host = &host;
    run.rootNode = &host.GetRoot();
    run.lodType = 2;
    context.SetUnitScale(vx::kHostUnitMeters);
    run.log.CreateNew(dir.File("run.log").c_str(), true);
    designRoot = context.design.FindOrCreate(vx::DUniqueID::NewSequential()).record;
    designRoot->name.Assign("design");
    designRoot->data.Lod = 2;
    context.design.SetRoot(designRoot);
    sharedObject = &AddBoxObject({1, 1, 1});
}

SceneFixture::~SceneFixture()
{
    // As the run does at the end of its conversion phase.
    context.EmptyRunTables();
    ReleaseTree();
    run.log.Close();
    vx::CurrentSceneContext() = nullptr;
    vx::CurrentExporter() = nullptr;
}

vx::MemoryObject& SceneFixture::AddBoxObject(const vx::HostPoint3& extent)
{
    vx::MemoryObject& object = host.AddObject(vx::kSuperClassGeometry, vx::kClassTriangleMesh);
    auto mesh = std::make_unique<vx::MemoryMesh>();
    mesh->SetVerts({{0, 0, 0}, {extent.x, 0, 0}, {0, extent.y, 0}, {0, 0, extent.z}, extent});
    mesh->SetFaces({vx::HostFace {{0, 1, 2}}, vx::HostFace {{2, 3, 4}}});
    object.SetMesh(std::move(mesh));
    return object;
}

vx::MemoryNode& SceneFixture::AddGeometry(
    vx::MemoryNode& parent, const std::string& name, vx::HostObject* object, vx::HostMaterial* material)
{
    vx::MemoryNode& node = host.AddNode(parent, name);
    node.SetObjectRef(object ? object : &AddBoxObject({1, 1, 1}));
    node.SetMaterial(material);
    return node;
}

vx::MemoryNode& SceneFixture::AddGroup(vx::MemoryNode& parent, const std::string& name)
{
    vx::MemoryNode& node = host.AddNode(parent, name);
    node.SetObjectRef(&host.AddObject(vx::kSuperClassHelper, vx::kClassGroupHead));
    return node;
}

vx::MyGroupNode& SceneFixture::BuildTree()
{
    if (!tree) {
        tree = new vx::MyGroupNode();
        tree->Retain();
        tree->Build(host.GetRootNode());
    }
    return *tree;
}

void SceneFixture::Convert(bool single)
{
    run.singleObject = single;
    run.singleObjectActive = single;
    vx::MyGroupNode& root = BuildTree();
    for (uint32_t i = 0; i < root.NumChildren(); ++i)
        vx::ProcessReferencedNodes(*root.GetChild(i), designRoot);
    root.Convert(designRoot, single, vx::HostMatrix3::Identity());
}

void SceneFixture::ReleaseTree()
{
    if (tree)
        tree->Release();
    tree = nullptr;
    context.referencedNodes.clear();
}

std::vector<std::string> SceneFixture::LogLines()
{
    std::ifstream file(dir.File("run.log"), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::vector<std::string> lines;
    std::string all = text.str();
    std::size_t start = 0;
    for (std::size_t end = all.find("\r\n"); end != std::string::npos; end = all.find("\r\n", start)) {
        lines.push_back(all.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<ZR::ObjectInstance*> SceneFixture::RootInstances() const
{
    std::vector<ZR::ObjectInstance*> instances;
    for (const auto& instance : designRoot->data.Components)
        instances.push_back(instance.get());
    return instances;
}

ZR::ObjectInstance* SceneFixture::RootInstance(const std::string& name) const
{
    for (ZR::ObjectInstance* instance : RootInstances()) {
        if (instance->name.Equals(name.c_str()))
            return instance;
    }
    return nullptr;
}

vx::HostMatrix3 At(float x, float y, float z)
{
    return vx::MakeTranslationMatrix({x, y, z});
}

vx::HostMatrix3 ScaledAt(const vx::HostPoint3& scale, float x, float y, float z)
{
    return vx::MakeScaleMatrix(scale) * At(x, y, z);
}

} // namespace vxtest
