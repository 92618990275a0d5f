#pragma once
// CMGemoOptimizer: the geometry optimiser pass. Collapses every visible geometric node's object
// into a copy of its evaluated state and lets nodes with equal meshes and the same material share
// one object, so that the conversion finds them as instances of one geometry. It changes the host
// scene, and the change outlives the export run.

#include "base/HashMap.h"
#include "scene/passes/IModule.h"

#include <cstdint>
#include <vector>

namespace vx {

class Host;
class HostMaterial;
class HostNode;
class HostObject;

class CMGemoOptimizer final : public IModule {
public:
    // The pass over host's scene (not owned; null: the pass refuses to run).
    explicit CMGemoOptimizer(Host* host);

    // Logs its start, and returns false without touching the scene when the host does not allow
    // scene changes now (or there is no host). Otherwise walks the scene (Walk), logs its end,
    // empties the mesh table and returns true.
    bool Run() override;

    // Depth first from node, children before their parent. A hidden node is skipped with its
    // subtree. A node that is visible (visibility above 0), has an object, evaluates to a geometric
    // object that converts to a triangle mesh, gets a copy of the evaluated object; then, when an
    // earlier node of the walk with the same material holds an object with an equal mesh
    // (MeshesEqual), the node takes that object instead. Other nodes are left alone.
    void Walk(HostNode& node);

private:
    // A candidate for sharing: an object a node got from the pass, with that node's material.
    struct ObjData {
        HostObject* object = nullptr;
        HostMaterial* material = nullptr;
    };
    using ObjDataList = std::vector<ObjData>;

    void OptimizeNode(HostNode& node);

    Host* host_;
    // Candidates by the vertex count of their mesh, each list in the order of the walk.
    HashMap<uint32_t, ObjDataList> meshTable_;
};

} // namespace vx
