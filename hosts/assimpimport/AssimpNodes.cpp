#include "assimpimport/AssimpNodes.h"

#include "assimpimport/AssimpMeshes.h"
#include "assimpimport/AssimpUserProperties.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string_view>

namespace vx {

namespace {

constexpr std::string_view kPivotMarker = "_$AssimpFbx$_";
constexpr int kMaxDepth = 256;

// The part a pivot helper node stands for ("Translation", "GeometricScaling"...); empty for a node
// that is no helper.
std::string_view GetPivotPart(const aiNode& node)
{
    const std::string_view name(node.mName.C_Str());
    const size_t at = name.find(kPivotMarker);
    return at == std::string_view::npos ? std::string_view() : name.substr(at + kPivotMarker.size());
}

bool IsGeometricPart(std::string_view part)
{
    return part.rfind("Geometric", 0) == 0;
}

bool IsInverseGeometricHelper(const aiNode& node)
{
    const std::string_view part = GetPivotPart(node);
    return IsGeometricPart(part) && part.size() > 7 && part.substr(part.size() - 7) == "Inverse";
}

// A node with its chain of pivot helpers folded in: the node that carries the name, meshes and
// children, its transform relative to its parent and its object offset (host convention).
struct FoldedNode {
    const aiNode* node = nullptr;
    HostMatrix3 local;
    HostMatrix3 offset;
};

FoldedNode FoldPivotHelpers(const aiNode& first)
{
    FoldedNode folded;
    const aiNode* node = &first;
    bool geometric = false;
    while (!GetPivotPart(*node).empty() && node->mNumChildren == 1 && node->mNumMeshes == 0) {
        const std::string_view part = GetPivotPart(*node);
        const HostMatrix3 m = ToHostMatrix(node->mTransformation);
        if (IsGeometricPart(part)) {
            geometric = true;
            if (!IsInverseGeometricHelper(*node))
                folded.offset = m * folded.offset;
        } else {
            folded.local = m * folded.local;
        }
        node = node->mChildren[0];
    }
    const HostMatrix3 own = ToHostMatrix(node->mTransformation);
    if (geometric)
        folded.offset = own * folded.offset;
    else
        folded.local = own * folded.local;
    folded.node = node;
    return folded;
}

class NodeBuilder {
public:
    NodeBuilder(const aiScene& scene, AssimpFileKind kind, const HostMatrix3& top, MemoryHost& host,
        AssimpMaterialTable& materials)
        : scene_(scene)
        , kind_(kind)
        , top_(top)
        , host_(host)
        , materials_(materials)
    {
        for (unsigned i = 0; i < scene.mNumCameras; ++i)
            cameras_.insert(scene.mCameras[i]->mName.C_Str());
        for (unsigned i = 0; i < scene.mNumLights; ++i)
            lights_.insert(scene.mLights[i]->mName.C_Str());
    }

    void Build();

private:
    struct Shown {
        HostObject* object = nullptr;
        HostMaterial* material = nullptr;
    };

    void AddChildren(MemoryNode& parent, const aiNode& node, const HostMatrix3& above, int depth);
    void AddNode(MemoryNode& parent, const FoldedNode& folded, const HostMatrix3& above, int depth);
    Shown GetShown(const aiNode& node);
    Shown GetMeshObject(const std::vector<unsigned>& meshes);
    bool ShowsSomething(const aiNode& node) const;

    const aiScene& scene_;
    AssimpFileKind kind_;
    HostMatrix3 top_;
    MemoryHost& host_;
    AssimpMaterialTable& materials_;
    std::set<std::string> cameras_, lights_;
    std::map<std::vector<unsigned>, Shown> meshObjects_;
    std::map<std::string, HostObject*> cameraObjects_, lightObjects_;
};

void NodeBuilder::Build()
{
    const aiNode& root = *scene_.mRootNode;
    if (ShowsSomething(root)) {
        FoldedNode folded;
        folded.node = &root;
        AddNode(host_.GetRoot(), folded, top_, 1);
    } else {
        AddChildren(host_.GetRoot(), root, top_, 1);
    }
}

bool NodeBuilder::ShowsSomething(const aiNode& node) const
{
    return node.mNumMeshes > 0 || cameras_.count(node.mName.C_Str()) || lights_.count(node.mName.C_Str());
}

void NodeBuilder::AddChildren(MemoryNode& parent, const aiNode& node, const HostMatrix3& above, int depth)
{
    for (unsigned i = 0; i < node.mNumChildren; ++i) {
        const aiNode& child = *node.mChildren[i];
        if (IsInverseGeometricHelper(child))
            AddChildren(parent, child, above, depth); // the parent's object offset is not inherited
        else
            AddNode(parent, FoldPivotHelpers(child), above, depth);
    }
}

void NodeBuilder::AddNode(MemoryNode& parent, const FoldedNode& folded, const HostMatrix3& above, int depth)
{
    if (depth > kMaxDepth)
        throw std::runtime_error(
            "the node hierarchy is deeper than " + std::to_string(kMaxDepth) + " levels");
    const aiNode& source = *folded.node;
    MemoryNode& node = host_.AddNode(parent, source.mName.C_Str());
    node.SetLocalTM(folded.local * above);
    if (!(folded.offset == HostMatrix3::Identity())) {
        const HostAffineParts parts = DecomposeAffine(folded.offset);
        node.SetObjectOffset(parts.t, parts.q, parts.k * parts.f);
    }
    const Shown shown = GetShown(source);
    node.SetObjectRef(shown.object);
    node.SetMaterial(shown.material);
    node.SetUserPropBuffer(MakeUserPropertyText(source.mMetaData, kind_));
    AddChildren(node, source, HostMatrix3::Identity(), depth + 1);
}

NodeBuilder::Shown NodeBuilder::GetShown(const aiNode& node)
{
    if (node.mNumMeshes > 0) {
        std::vector<unsigned> meshes;
        for (unsigned i = 0; i < node.mNumMeshes; ++i)
            if (node.mMeshes[i] < scene_.mNumMeshes)
                meshes.push_back(node.mMeshes[i]);
        return GetMeshObject(meshes);
    }
    const std::string name = node.mName.C_Str();
    for (auto [names, objects, superClass] : {std::make_tuple(&cameras_, &cameraObjects_, kSuperClassCamera),
             std::make_tuple(&lights_, &lightObjects_, kSuperClassLight)}) {
        if (!names->count(name))
            continue;
        HostObject*& object = (*objects)[name];
        if (!object)
            object = &host_.AddObject(superClass, HostClassId {});
        return Shown {object, nullptr};
    }
    // An empty node that holds others heads a group of them, as the host's group dummy does; an
    // empty leaf is a plain helper (a point).
    const HostClassId helperClass = node.mNumChildren > 0 ? kClassGroupHead : HostClassId {};
    return Shown {&host_.AddObject(kSuperClassHelper, helperClass), nullptr};
}

NodeBuilder::Shown NodeBuilder::GetMeshObject(const std::vector<unsigned>& meshes)
{
    if (auto found = meshObjects_.find(meshes); found != meshObjects_.end())
        return found->second;
    // Material slots in the order the meshes first use them.
    std::vector<unsigned> slots;
    std::vector<AssimpMeshPart> parts;
    for (unsigned index : meshes) {
        const aiMesh* mesh = scene_.mMeshes[index];
        if (!(mesh->mPrimitiveTypes & aiPrimitiveType_TRIANGLE))
            continue; // points and lines are not taken over
        auto slot = std::find(slots.begin(), slots.end(), mesh->mMaterialIndex);
        if (slot == slots.end())
            slot = slots.insert(slots.end(), mesh->mMaterialIndex);
        parts.push_back({mesh, static_cast<std::uint16_t>(slot - slots.begin()),
            materials_.GetUvSets(mesh->mMaterialIndex)});
    }
    if (slots.size() > 0xFFFF)
        throw std::runtime_error("a node's meshes use more than 65536 materials");
    MemoryObject& object = host_.AddObject(kSuperClassGeometry, kClassTriangleMesh);
    object.SetMesh(BuildMesh(parts));
    Shown shown {&object, nullptr};
    if (slots.size() == 1)
        shown.material = materials_.GetMaterial(slots[0]);
    else if (slots.size() > 1)
        shown.material = materials_.GetMultiMaterial(slots);
    meshObjects_.emplace(meshes, shown);
    return shown;
}

} // namespace

void BuildAssimpNodes(const aiScene& scene, AssimpFileKind kind, const HostMatrix3& top, MemoryHost& host,
    AssimpMaterialTable& materials)
{
    NodeBuilder(scene, kind, top, host, materials).Build();
}

} // namespace vx
