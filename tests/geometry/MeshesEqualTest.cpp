// Mesh equality for the geometry optimiser: exact coordinates, and every part of the mesh that
// the conversion reads (faces, smoothing groups, material identifiers, map channels).

#include "geometry/MeshesEqual.h"

#include "memoryhost/MemoryHost.h"
#include "memoryhost/MemoryMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

namespace {

struct MeshData {
    vx::MeshArray<vx::HostPoint3> verts {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    vx::MeshArray<vx::HostFace> faces {vx::HostFace {{0, 1, 2}, 1, 0}, vx::HostFace {{1, 3, 2}, 1, 0}};
    vx::MemoryMapChannel uv {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, {{{0, 1, 2}}, {{1, 3, 2}}}};
};

vx::MemoryObject& AddMeshObject(vx::MemoryHost& host, const MeshData& data)
{
    vx::MemoryObject& object = host.AddObject(vx::kSuperClassGeometry, vx::kClassTriangleMesh);
    auto mesh = std::make_unique<vx::MemoryMesh>();
    mesh->SetVerts(data.verts);
    mesh->SetFaces(data.faces);
    mesh->SetMapChannel(1, data.uv);
    object.SetMesh(std::move(mesh));
    return object;
}

TEST(MeshesEqual, ComparesEveryPartTheConversionReads)
{
    struct Case {
        const char* what;
        std::function<void(MeshData&)> change;
        bool equal;
    };
    const Case cases[] = {
        {"a copy", [](MeshData&) {}, true},
        {"0 against -0", [](MeshData& m) { m.verts[0].x = -0.0f; }, true},
        {"a vertex moved by one ulp", [](MeshData& m) { m.verts[1].x = std::nextafter(1.0f, 2.0f); }, false},
        {"a NaN coordinate", [](MeshData& m) { m.verts[1].y = NAN; }, false},
        {"one vertex more",
            [](MeshData& m) {
                m.verts.push_back({5, 5, 5});
            },
            false},
        {"other faces over the same vertices",
            [](MeshData& m) {
                m.faces[1] = vx::HostFace {{2, 3, 1}, 1, 0};
            },
            false},
        {"another smoothing group", [](MeshData& m) { m.faces[0].smGroup = 2; }, false},
        {"another material identifier", [](MeshData& m) { m.faces[1].flags = 3u << 16; }, false},
        {"a texture vertex moved", [](MeshData& m) { m.uv.verts[3].x = 0.5f; }, false},
        {"other texture faces",
            [](MeshData& m) {
                m.uv.faces[0] = vx::HostTVFace {{2, 1, 0}};
            },
            false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vx::MemoryHost host;
        MeshData changed;
        c.change(changed);
        vx::MemoryObject& a = AddMeshObject(host, MeshData {});
        vx::MemoryObject& b = AddMeshObject(host, changed);
        EXPECT_EQ(vx::MeshesEqual(a, b), c.equal);
        EXPECT_EQ(vx::MeshesEqual(b, a), c.equal);
    }
}

TEST(MeshesEqual, ObjectsWithoutAMeshAreNeverEqual)
{
    vx::MemoryHost host;
    vx::MemoryObject& shape = host.AddObject(vx::kSuperClassShape, {0x1234, 0});
    vx::MemoryObject& box = AddMeshObject(host, MeshData {});
    EXPECT_FALSE(vx::MeshesEqual(shape, shape));
    EXPECT_FALSE(vx::MeshesEqual(shape, box));
    EXPECT_TRUE(vx::MeshesEqual(box, box));
}

} // namespace
