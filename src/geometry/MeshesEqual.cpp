#include "geometry/MeshesEqual.h"

#include "host/HostMesh.h"
#include "host/HostObject.h"

namespace vx {

namespace {

bool SamePoint(const HostPoint3& a, const HostPoint3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

bool SamePoints(HostArray<HostPoint3> a, HostArray<HostPoint3> b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!SamePoint(a[i], b[i]))
            return false;
    }
    return true;
}

bool SameFaces(HostArray<HostFace> a, HostArray<HostFace> b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const HostFace& fa = a[i];
        const HostFace& fb = b[i];
        if (fa.v[0] != fb.v[0] || fa.v[1] != fb.v[1] || fa.v[2] != fb.v[2] || fa.smGroup != fb.smGroup
            || fa.GetMatId() != fb.GetMatId())
            return false;
    }
    return true;
}

bool SameMapFaces(HostArray<HostTVFace> a, HostArray<HostTVFace> b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].t[0] != b[i].t[0] || a[i].t[1] != b[i].t[1] || a[i].t[2] != b[i].t[2])
            return false;
    }
    return true;
}

bool SameMapChannels(const HostMesh& a, const HostMesh& b)
{
    if (a.GetNumMaps() != b.GetNumMaps())
        return false;
    for (int channel = 0; channel < a.GetNumMaps(); ++channel) {
        if (a.GetMapSupport(channel) != b.GetMapSupport(channel))
            return false;
        if (!SamePoints(a.GetMapVerts(channel), b.GetMapVerts(channel))
            || !SameMapFaces(a.GetMapFaces(channel), b.GetMapFaces(channel)))
            return false;
    }
    return true;
}

// Normals the smoothing groups give follow from the vertices and faces compared above; only the
// explicitly specified ones are data of their own.
bool SameSpecifiedNormals(const HostMesh& a, const HostMesh& b)
{
    for (int v = 0; v < a.GetNumVerts(); ++v) {
        const HostRenderVertex& ra = a.GetRenderVertex(v);
        const HostRenderVertex& rb = b.GetRenderVertex(v);
        if (ra.specified != rb.specified)
            return false;
        if (ra.specified
            && (ra.normals.empty() != rb.normals.empty()
                || (!ra.normals.empty() && !SamePoint(ra.normals[0].normal, rb.normals[0].normal))))
            return false;
    }
    return true;
}

} // namespace

bool MeshesEqual(const HostObject& a, const HostObject& b)
{
    if (!a.CanConvertToMesh() || !b.CanConvertToMesh())
        return false;
    HostMesh* ma = a.ConvertToMesh(0);
    HostMesh* mb = b.ConvertToMesh(0);
    if (!ma || !mb)
        return false;
    return ma->GetNumVerts() == mb->GetNumVerts() && SamePoints(ma->GetVerts(), mb->GetVerts())
        && SameFaces(ma->GetFaces(), mb->GetFaces()) && SameMapChannels(*ma, *mb)
        && SameSpecifiedNormals(*ma, *mb);
}

} // namespace vx
