#include "geometry/GeometryConvertor.h"
#include "geometry/NodeGeometry.h"

#include "GeometryTestSupport.h"
#include "host/HostMaterial.h"
#include "memoryhost/MemoryMaterial.h"
#include "scenefile/SceneFileLoader.h"
#include "toolkit/VMMaterialProperty.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numbers>

namespace vx {
namespace {

using Extraction = vxtest::GeometryRun;

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

float Dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

HostMatrix3 Translation(float x, float y, float z)
{
    return MakeTranslationMatrix({x, y, z});
}

TEST_F(Extraction, OneFaceGivesThreeCornersInTheNodeFrameInMetres)
{
    MemoryNode& node
        = AddMeshNode("Tri", {{100, 0, 0}, {100, 200, 0}, {100, 0, 300}}, {HostFace {{0, 1, 2}, 0, 0}});
    node.SetLocalTM(Translation(100, 0, 0)); // the pivot sits on the first vertex
    Array<GeometryPair> pairs;
    ConvertNodeGeometry(node, pairs);
    ASSERT_EQ(pairs.Count(), 1u);
    const VMVertexData& vd = *pairs[0].vertexData;
    EXPECT_EQ(vd.vertexCount, 3);
    EXPECT_FALSE(vd.HasChannel(VMVertexData::INDEX_CHANNEL));
    EXPECT_EQ(vd.primitiveType, VMVertexData::TRIANGLE_LIST);
    EXPECT_EQ(vd.VertexFormatCode(), 3u);
    // Object offset applied: the mesh vertices are in object space, here equal to the node frame
    // shifted by the pivot.
    ExpectNear(vd.GetPosition(0), {1.0f, 0.0f, 0.0f});
    ExpectNear(vd.GetPosition(1), {1.0f, 0.0f, 2.0f});
    ExpectNear(vd.GetPosition(2), {1.0f, 3.0f, 0.0f});
    // A flat face: its normal, host +x, stays +x.
    for (int32_t i = 0; i < 3; ++i)
        ExpectNear(vd.GetNormal(i), {1.0f, 0.0f, 0.0f});
    ASSERT_TRUE(pairs[0].renderState); // the wire colour's state
    EXPECT_STREQ(pairs[0].renderState->name.c_str(), "Color 0.52 0.52 0.52");
}

TEST_F(Extraction, TextureCoordinatesFlipVAndTinyNormalComponentsBecomeZero)
{
    MemoryMesh* mesh = nullptr;
    MemoryNode& node
        = AddMeshNode("Mapped", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {HostFace {{0, 1, 2}, 1, 0}}, &mesh);
    mesh->SetExplicitNormals({{0, 1e-6f, 1}, {0, 0, 1}, {0, 0, 1}});
    mesh->SetMapChannel(1, MemoryMapChannel {{{0.25f, 0.75f, 0.5f}}, {HostTVFace {{0, 0, 0}}}});
    mesh->SetMapChannel(3, MemoryMapChannel {{{1, 1, 0}}, {HostTVFace {{0, 0, 0}}}});
    mesh->SetMapChannel(12, MemoryMapChannel {{{1, 1, 0}}, {HostTVFace {{0, 0, 0}}}}); // ignored
    GeometryConvertor convertor;
    ASSERT_EQ(convertor.Convert(node), 0);
    const VMVertexData& vd = *convertor.Parts()[0].vertexData;
    EXPECT_EQ(vd.TexCoordComponents(0), 2);
    EXPECT_EQ(vd.TexCoordComponents(1), 0);
    EXPECT_EQ(vd.TexCoordComponents(2), 2);
    EXPECT_FLOAT_EQ(vd.GetTexCoord(0, 1, 0), 0.25f);
    EXPECT_FLOAT_EQ(vd.GetTexCoord(0, 1, 1), 0.25f);
    EXPECT_EQ(vd.GetNormal(0), (Vector3 {0.0f, 1.0f, 0.0f}));
}

TEST_F(Extraction, SmoothingGroupsChooseTheCornerNormal)
{
    // Two faces folded along the edge 0-1: smoothed together they share an averaged normal at the
    // edge; in different groups each keeps its own face normal.
    const MeshArray<HostPoint3> verts {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}};
    for (const bool smooth : {true, false}) {
        MemoryNode& node = AddMeshNode(
            "Fold", verts, {HostFace {{0, 1, 2}, 1, 0}, HostFace {{0, 3, 1}, smooth ? 1u : 2u, 0}});
        GeometryConvertor convertor;
        ASSERT_EQ(convertor.Convert(node), 0);
        const VMVertexData& vd = *convertor.Parts()[0].vertexData;
        const float h = static_cast<float>(std::numbers::sqrt2 / 2);
        // Design frame: host +z is +y, host +y is +z.
        if (smooth)
            ExpectNear(vd.GetNormal(0), {0.0f, h, -h});
        else
            ExpectNear(vd.GetNormal(0), {0.0f, 1.0f, 0.0f});
        ExpectNear(vd.GetNormal(5), smooth ? Vector3 {0.0f, h, -h} : Vector3 {0.0f, 0.0f, -1.0f});
    }
}

TEST_F(Extraction, NormalsFollowARotatedAndStretchedObjectOffset)
{
    MemoryNode& node
        = AddMeshNode("Slanted", {{0, 0, 0}, {1, 0, 1}, {0, 1, 2}}, {HostFace {{0, 1, 2}, 0, 0}});
    node.SetLocalTM(MakeRotationMatrix(MakeQuatFromAxisAngle({0, 0, 1}, 0.7f)) * Translation(5, 6, 7));
    node.SetObjectOffset({1, 2, 3}, MakeQuatFromAxisAngle({1, 1, 0}, 1.1f), {1, 4, 0.5f});
    GeometryConvertor convertor;
    ASSERT_EQ(convertor.Convert(node), 0);
    const VMVertexData& vd = *convertor.Parts()[0].vertexData;
    const Vector3 e1 = vd.GetPosition(1) - vd.GetPosition(0);
    const Vector3 e2 = vd.GetPosition(2) - vd.GetPosition(0);
    for (int32_t i = 0; i < 3; ++i) {
        const Vector3 n = vd.GetNormal(i);
        EXPECT_NEAR(static_cast<double>(Length(n)), 1.0, 1e-5);
        EXPECT_NEAR(Dot(n, e1) / static_cast<float>(Length(e1)), 0.0f, 1e-5f);
        EXPECT_NEAR(Dot(n, e2) / static_cast<float>(Length(e2)), 0.0f, 1e-5f);
    }
}

TEST_F(Extraction, MultiMaterialSplitsByIdentifierModuloTheSubMaterialCount)
{
    MemoryMaterial& multi = host.AddMaterial(kClassMultiMaterial, "Multi");
    const float greys[] = {0.2f, 0.5f, 0.8f};
    for (int i = 0; i < 3; ++i) {
        MemoryMaterial& sub = host.AddMaterial(kClassStandardMaterial2, "Sub" + std::to_string(i));
        sub.diffuse = {greys[i], greys[i], greys[i]};
        multi.subMaterials.push_back(&sub);
    }
    auto face = [](uint32_t a, uint32_t b, uint32_t c, uint32_t id) {
        return HostFace {{a, b, c}, 0, id << 16};
    };
    MemoryNode& node = AddMeshNode("Split", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {face(0, 1, 2, 0), face(0, 1, 3, 4), face(0, 2, 3, 0)});
    node.SetMaterial(&multi);
    GeometryConvertor convertor;
    ASSERT_EQ(convertor.Convert(node), 0);
    const Array<GeometryPair>& parts = convertor.Parts();
    ASSERT_EQ(parts.Count(), 3u);
    EXPECT_STREQ(parts[0].renderState->name.c_str(), "Sub0");
    EXPECT_STREQ(parts[1].renderState->name.c_str(), "Sub1");
    EXPECT_EQ(parts[0].vertexData->vertexCount, 6);
    EXPECT_EQ(parts[1].vertexData->vertexCount, 3);
    EXPECT_EQ(parts[2].vertexData->vertexCount, 0);
    // The faces keep their order and corners: face 2's last corner is host (0, 0, 1).
    ExpectNear(parts[0].vertexData->GetPosition(5), {0.0f, 0.01f, 0.0f});
    ExpectNear(parts[1].vertexData->GetPosition(2), {0.0f, 0.01f, 0.0f});
    EXPECT_TRUE(parts[1].vertexData->HasChannel(VMVertexData::NORMAL_CHANNEL));

    // A single sub-material is a plain material: one piece with every face.
    multi.subMaterials.resize(1);
    ASSERT_EQ(convertor.Convert(node), 0);
    ASSERT_EQ(convertor.Parts().Count(), 1u);
    EXPECT_EQ(convertor.Parts()[0].vertexData->vertexCount, 9);
}

TEST_F(Extraction, MaterialIdentifiersThatDoNotMatchGiveOnePieceAndAWarning)
{
    MemoryMaterial& multi = host.AddMaterial(kClassMultiMaterial, "Multi");
    MemoryMaterial& sub0 = host.AddMaterial(kClassStandardMaterial2, "First");
    MemoryMaterial& sub1 = host.AddMaterial(kClassStandardMaterial2, "Second");
    multi.subMaterials = {&sub0, &sub1};
    MemoryMesh* mesh = nullptr;
    MemoryNode& node
        = AddMeshNode("Odd", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {HostFace {{0, 1, 2}, 0, 1u << 16}}, &mesh);
    node.SetMaterial(&multi);
    GeometryConvertor convertor;
    VMRef<VMVertexData> vd = convertor.BuildVertexData(*mesh, &node, true, true);
    ASSERT_TRUE(vd);
    vd->SetVertexCount(6); // no longer the mesh the identifiers came from
    convertor.SplitByMaterial(node, *vd);
    ASSERT_EQ(convertor.Parts().Count(), 1u);
    EXPECT_STREQ(convertor.Parts()[0].renderState->name.c_str(), "First");
    EXPECT_EQ(convertor.Parts()[0].vertexData->vertexCount, 6);
    EXPECT_EQ(messages, "Warning: Odd: the material identifiers do not match the mesh; one material used\n");
}

TEST_F(Extraction, NodesWithoutUsableMeshOrFacesGiveNothing)
{
    MemoryNode& empty = AddMeshNode("Empty", {{0, 0, 0}}, {});
    Array<GeometryPair> pairs;
    ConvertNodeGeometry(empty, pairs);
    EXPECT_TRUE(pairs.IsEmpty());
    EXPECT_TRUE(messages.empty());

    MemoryObject& helper = host.AddObject(kSuperClassHelper, {0x1, 0x2});
    MemoryNode& node = host.AddNode(host.GetRoot(), "Dummy");
    node.SetObjectRef(&helper);
    GeometryConvertor convertor;
    EXPECT_EQ(convertor.Convert(node), GeometryConvertor::FAILED);
    EXPECT_EQ(messages, "Warning: Dummy has invalid mesh\n");
}

TEST_F(Extraction, DerivedObjectsAreEvaluated)
{
    MemoryNode& base = AddMeshNode("Base", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {HostFace {{0, 1, 2}, 0, 0}});
    MemoryObject& derived = host.AddObject(kSuperClassDerivedObject, {0xFFFF, 0});
    derived.SetDerivedFrom(base.GetObjectRef(), 0);
    MemoryNode& node = host.AddNode(host.GetRoot(), "Derived");
    node.SetObjectRef(&derived);
    Array<GeometryPair> pairs;
    ConvertNodeGeometry(node, pairs);
    ASSERT_EQ(pairs.Count(), 1u);
    EXPECT_EQ(pairs[0].vertexData->vertexCount, 3);
}

TEST_F(Extraction, ComplexMeshesAreAnnounced)
{
    MeshArray<HostFace> faces(GeometryConvertor::COMPLEX_FACE_COUNT + 1, HostFace {{0, 1, 2}, 0, 0});
    MemoryNode& node = AddMeshNode("Big", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, std::move(faces));
    Array<GeometryPair> pairs;
    ConvertNodeGeometry(node, pairs);
    ASSERT_EQ(pairs.Count(), 1u);
    EXPECT_EQ(messages, "Information: Complex geometry; export may take a while\n");
}

TEST_F(Extraction, TheHouseExampleObjectsCarryGeometry)
{
    const char* source = std::getenv("VX_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    SceneLoadResult loaded
        = LoadSceneFile((std::filesystem::path(source) / "examples" / "house" / "house.json").string());
    ASSERT_FALSE(loaded.error);
    int meshNodes = 0;
    std::function<void(HostNode&)> visit = [&](HostNode& node) {
        HostObject* object = node.GetObjectRef();
        if (object && object->FindBaseObject()->GetSuperClassId() == kSuperClassGeometry) {
            ++meshNodes;
            Array<GeometryPair> pairs;
            ConvertNodeGeometry(node, pairs);
            EXPECT_FALSE(pairs.IsEmpty()) << node.GetName();
            for (const GeometryPair& pair : pairs) {
                EXPECT_TRUE(pair.renderState) << node.GetName();
                const uint32_t code = pair.vertexData->VertexFormatCode();
                EXPECT_TRUE(pair.vertexData->vertexCount == 0 || code == 3 || code == 131 || code == 387)
                    << node.GetName() << " " << code;
            }
        }
        for (int i = 0; i < node.NumberOfChildren(); ++i)
            visit(*node.GetChildNode(i));
    };
    visit(*loaded.scene->GetRootNode());
    EXPECT_GT(meshNodes, 3);
    EXPECT_EQ(messages.find("Warning"), std::string::npos) << messages;
}

} // namespace
} // namespace vx
