#pragma once
// What a scene shows, straight from the host: the world-space triangles of every mesh node, in
// metres, as a design read back from the database must reproduce them. Copies made from a
// "ZRInstance" template show the template's subtree moved with the copy; nodes that carry
// design-only keys ("ZRIsLOD" ...) show nothing.

#include "base/UnitScale.h"
#include "host/HostMath.h"
#include "host/HostMesh.h"
#include "host/HostNode.h"
#include "host/HostObject.h"
#include "memoryhost/MemoryHost.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace vxtest {

using WorldPoint = std::array<double, 3>;
using WorldCorners = std::array<WorldPoint, 3>;

namespace detail {

// The name after "ZRInstance" in a node's user properties; "" when it has none.
inline std::string TemplateNameOf(const vx::HostNode& node)
{
    const std::string props = node.GetUserPropBuffer() ? node.GetUserPropBuffer() : "";
    const std::string key = "ZRInstance ";
    const auto at = props.find(key);
    if (at == std::string::npos)
        return "";
    const auto end = props.find_first_of("\r\n", at);
    return props.substr(
        at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
}

// Whether the node carries design-only information (a line starting with one of the null-node
// keys): such a node and its subtree show nothing.
inline bool IsDesignOnly(const vx::HostNode& node)
{
    const std::string props = node.GetUserPropBuffer() ? node.GetUserPropBuffer() : "";
    for (const char* key : {"ZRSpace", "ZRGlobalBlock", "ZRdbBox", "ZRdbArea", "ZRIsLOD", "ZRIsFloor"}) {
        for (std::size_t at = props.find(key); at != std::string::npos; at = props.find(key, at + 1))
            if (at == 0 || props[at - 1] == '\n')
                return true;
    }
    return false;
}

inline const vx::HostNode* FindNode(const vx::HostNode& from, const std::string& name)
{
    if (name == from.GetName())
        return &from;
    for (int i = 0; i < from.NumberOfChildren(); ++i) {
        if (const vx::HostNode* found = FindNode(*from.GetChildNode(i), name))
            return found;
    }
    return nullptr;
}

inline double Determinant(const vx::HostMatrix3& m)
{
    const auto& r = m.rows;
    return static_cast<double>(r[0].x) * (r[1].y * r[2].z - r[1].z * r[2].y)
        - static_cast<double>(r[0].y) * (r[1].x * r[2].z - r[1].z * r[2].x)
        + static_cast<double>(r[0].z) * (r[1].x * r[2].y - r[1].y * r[2].x);
}

// The node's mesh triangles under world (then `moved`), outward: a mirroring transform reverses
// the corner order, so that the winding keeps facing the way the surface does.
inline void AppendMesh(
    const vx::HostNode& node, const vx::HostMatrix3& moved, float scale, std::vector<WorldCorners>& out)
{
    const vx::HostObject* object = node.GetObjectRef();
    const vx::HostMesh* mesh = object ? object->GetMesh() : nullptr;
    if (!mesh)
        return;
    const vx::HostMatrix3 world = node.GetObjTMAfterWSM(0) * moved;
    const bool mirrored = Determinant(world) < 0.0;
    const auto verts = mesh->GetVerts();
    for (const vx::HostFace& face : mesh->GetFaces()) {
        WorldCorners corners;
        for (int k = 0; k < 3; ++k) {
            const vx::HostPoint3 p = verts[face.v[k]] * world;
            corners[static_cast<std::size_t>(k)]
                = {double(p.x) * scale, double(p.y) * scale, double(p.z) * scale};
        }
        if (mirrored)
            std::swap(corners[1], corners[2]);
        out.push_back(corners);
    }
}

inline void AppendSubtree(const vx::HostNode& root, const vx::HostNode& node, const vx::HostMatrix3& moved,
    float scale, std::vector<WorldCorners>& out)
{
    if (IsDesignOnly(node))
        return;
    const std::string templateName = TemplateNameOf(node);
    if (!templateName.empty()) {
        // A copy shows its template where the copy stands: template world x inverse(template) x copy.
        if (const vx::HostNode* original = FindNode(root, templateName)) {
            const vx::HostMatrix3 toCopy = vx::Inverse(original->GetNodeTM(0)) * node.GetNodeTM(0) * moved;
            AppendSubtree(root, *original, toCopy, scale, out);
        }
        return;
    }
    AppendMesh(node, moved, scale, out);
    for (int i = 0; i < node.NumberOfChildren(); ++i)
        AppendSubtree(root, *node.GetChildNode(i), moved, scale, out);
}

} // namespace detail

// Every triangle the host shows, in metres (host units times the unit's scale factor).
inline std::vector<WorldCorners> HostWorldTriangles(const vx::MemoryHost& host)
{
    std::vector<WorldCorners> out;
    const float scale = vx::LookUpUnitScale(host.GetMasterUnitInfo().type).scaleFactor;
    const vx::HostNode& root = *host.GetRootNode();
    for (int i = 0; i < root.NumberOfChildren(); ++i)
        detail::AppendSubtree(root, *root.GetChildNode(i), vx::HostMatrix3::Identity(), scale, out);
    return out;
}

} // namespace vxtest
