#include "geometry/GeometryConvertor.h"

#include "geometry/DesignFrame.h"
#include "geometry/OptimiseVertexData.h"
#include "materials/ConvertMaterial.h"
#include "materials/WireColourState.h"

#include "base/Assert.h"
#include "host/HostMaterial.h"
#include "host/HostMesh.h"
#include "host/HostNode.h"
#include "host/HostObject.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"
#include "toolkit/VMMessages.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace vx {

namespace {

constexpr HostTime TIME_ZERO = 0;
constexpr int MAX_MAP_CHANNEL = VMVertexData::NUM_TEXCOORD_SETS;
// The exchange of y and z as rows.
constexpr Rotation SWAP_YZ_ROWS {{1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f}};

float ScaleFactor()
{
    const SceneContext* context = CurrentSceneContext();
    return context ? context->scaleFactor : 1.0f;
}

bool OptimizeGeometry()
{
    const ExportRunState* run = CurrentExporter();
    return run && run->optimizeGeometry;
}

// The object the node shows at time 0, with a modifier stack evaluated.
HostObject* EvaluatedObject(const HostNode& node)
{
    HostObject* object = node.EvalWorldState(TIME_ZERO);
    if (object && IsDerivedSuperClass(object->GetSuperClassId()))
        object = object->GetNumModifiers() == 0 ? object->GetReferencedObject() : object->Evaluate(TIME_ZERO);
    return object;
}

HostMesh* ExtractMesh(HostNode& node)
{
    HostObject* object = EvaluatedObject(node);
    if (!object)
        return nullptr;
    const HostClassId id = object->GetClassId();
    if (object->GetSuperClassId() == kSuperClassGeometry
        && (id.a == kClassTriangleMesh.a || id.a == kClassEditableMesh.a))
        return object->GetMesh();
    return object->GetRenderMesh(TIME_ZERO, &node);
}

// How mesh vertices reach the design frame: q = ApplyRows(rows, p * objectTM - ...) as one step
// per vertex, and the rows that carry normals.
struct VertexTransform {
    const HostNode* node = nullptr;
    HostMatrix3 objectTM;
    Rotation inverseNodeRows;
    Vector3 nodePosition;
    float scale = 1.0f;
    Rotation normalRows;

    VertexTransform(const HostNode* of, float factor)
        : node(of)
        , scale(factor)
    {
        Rotation linear = SWAP_YZ_ROWS;
        if (node) {
            objectTM = node->GetObjTMAfterWSM(TIME_ZERO);
            const HostMatrix3 nodeTM = node->GetNodeTM(TIME_ZERO);
            inverseNodeRows = Inverse(DesignRows(nodeTM));
            nodePosition = SwapYZ(ToVector3(nodeTM.rows[3])) * scale;
            linear = Multiply(Multiply(HostRows(objectTM), SWAP_YZ_ROWS), inverseNodeRows);
        }
        normalRows = NormalRows(linear);
    }

    Vector3 Position(const HostPoint3& v) const
    {
        if (!node)
            return SwapYZ(ToVector3(v)) * scale;
        const Vector3 p = SwapYZ(ToVector3(v * objectTM)) * scale;
        return ApplyRows(inverseNodeRows, p - nodePosition);
    }
};

// Writes v as three floats at out; returns the byte after them.
uint8_t* StoreVector(uint8_t* out, const Vector3& v)
{
    const float xyz[3] = {v.x, v.y, v.z};
    std::memcpy(out, xyz, sizeof xyz);
    return out + sizeof xyz;
}

// The render normal of corner vertex of face, chosen by the face's smoothing group.
HostPoint3 CornerNormal(const HostMesh& mesh, int face, const HostFace& f, uint32_t vertex)
{
    if (vertex > static_cast<uint32_t>(std::numeric_limits<int>::max()))
        return mesh.GetFaceNormal(face);
    const HostRenderVertex& rv = mesh.GetRenderVertex(static_cast<int>(vertex));
    if (rv.specified && !rv.normals.empty())
        return rv.normals[0].normal;
    const std::size_t n = rv.normals.size();
    if (n == 0 || f.smGroup == 0)
        return mesh.GetFaceNormal(face);
    if (n == 1)
        return rv.normals[0].normal;
    for (const HostRenderNormal& candidate : rv.normals) {
        if (candidate.smGroup & f.smGroup)
            return candidate.normal;
    }
    return rv.normals[n - 1].normal;
}

// Whether every corner of the first faceCount map faces names a map vertex.
bool IsUsableMapChannel(
    std::span<const HostPoint3> verts, std::span<const HostTVFace> faces, std::size_t faceCount)
{
    if (verts.empty() || faces.size() < faceCount)
        return false;
    for (std::size_t f = 0; f < faceCount; ++f) {
        for (const uint32_t t : faces[f].t) {
            if (t >= verts.size())
                return false;
        }
    }
    return true;
}

void FillTexCoords(VMVertexData& vd, const HostMesh& mesh, int32_t faceCount)
{
    const int maps = mesh.GetNumMaps();
    for (int channel = 1; channel < maps && channel <= MAX_MAP_CHANNEL; ++channel) {
        if (!mesh.GetMapSupport(channel))
            continue;
        const std::span<const HostPoint3> verts = mesh.GetMapVerts(channel);
        const std::span<const HostTVFace> faces = mesh.GetMapFaces(channel);
        if (!IsUsableMapChannel(verts, faces, static_cast<std::size_t>(faceCount)))
            continue;
        const int set = channel - 1;
        vd.AllocateTexCoords(set, 2);
        // Sized just now: two floats per vertex, written in order.
        uint8_t* out
            = vd.channels[static_cast<std::size_t>(VMVertexData::FIRST_TEXCOORD_CHANNEL + set)].data();
        for (int32_t f = 0; f < faceCount; ++f) {
            for (int k = 0; k < 3; ++k) {
                const HostPoint3& uvw = verts[faces[static_cast<std::size_t>(f)].t[k]];
                const float uv[2] = {uvw.x, 1.0f - uvw.y};
                std::memcpy(out, uv, sizeof uv);
                out += sizeof uv;
            }
        }
    }
}

// A vertex data with room for vertexCount vertices and the channels of source.
VMRef<VMVertexData> MakePiece(const VMVertexData& source, int32_t vertexCount)
{
    VMRef<VMVertexData> piece = MakeVMRef<VMVertexData>();
    piece->SetPrimitiveType(VMVertexData::TRIANGLE_LIST);
    piece->SetVertexCount(vertexCount);
    if (vertexCount <= 0)
        return piece;
    if (source.HasChannel(VMVertexData::NORMAL_CHANNEL))
        piece->AllocateNormals();
    if (source.HasChannel(VMVertexData::COLOUR_CHANNEL))
        piece->AllocateColours();
    for (int k = 0; k < VMVertexData::NUM_CUSTOM_CHANNELS; ++k)
        piece->AllocateCustom(k, source.ElementSize(VMVertexData::FIRST_CUSTOM_CHANNEL + k));
    for (int set = 0; set < VMVertexData::NUM_TEXCOORD_SETS; ++set)
        piece->AllocateTexCoords(set, source.TexCoordComponents(set));
    return piece;
}

} // namespace

GeometryConvertor::GeometryConvertor()
{
    parts_.SetGrowBy(16);
}

int GeometryConvertor::Convert(HostNode& node)
{
    parts_.Clear();
    HostMesh* mesh = ExtractMesh(node);
    if (!VX_ASSERT_TEXT(mesh, "mesh!=NULL")) {
        ReportWarning(std::string(node.GetName()) + " has invalid mesh");
        return FAILED;
    }
    VMRef<VMVertexData> vertexData = BuildVertexData(*mesh, &node, true, true);
    if (!vertexData)
        return FAILED;
    SplitByMaterial(node, *vertexData);
    return 0;
}

VMRef<VMVertexData> GeometryConvertor::BuildVertexData(
    HostMesh& mesh, const HostNode* node, bool withNormals, bool withTexCoords)
{
    faceMaterialIds_.clear();
    const std::span<const HostFace> faces = mesh.GetFaces();
    const std::span<const HostPoint3> verts = mesh.GetVerts();
    const std::size_t faceCount
        = std::min(faces.size(), static_cast<std::size_t>(std::max(mesh.GetNumFaces(), 0)));
    if (faceCount == 0)
        return {};
    if (faceCount > static_cast<std::size_t>(std::numeric_limits<int32_t>::max() / 3)) {
        ReportError("Mesh has too many faces to export");
        return {};
    }
    const auto F = static_cast<int32_t>(faceCount);
    if (F > COMPLEX_FACE_COUNT)
        ReportInformation("Complex geometry; export may take a while");

    VMRef<VMVertexData> vd = MakeVMRef<VMVertexData>();
    vd->SetPrimitiveType(VMVertexData::TRIANGLE_LIST);
    vd->SetVertexCount(3 * F);

    const VertexTransform transform(node, ScaleFactor());
    std::vector<Vector3> points;
    points.reserve(verts.size());
    for (const HostPoint3& v : verts)
        points.push_back(transform.Position(v));

    // The channels were sized just now: 12 bytes per vertex, written in order.
    faceMaterialIds_.resize(faceCount);
    uint8_t* position = vd->channels[VMVertexData::POSITION_CHANNEL].data();
    for (int32_t f = 0; f < F; ++f) {
        const HostFace& face = faces[static_cast<std::size_t>(f)];
        faceMaterialIds_[static_cast<std::size_t>(f)] = face.GetMatId();
        for (int k = 0; k < 3; ++k) {
            const uint32_t index = face.v[k];
            position = StoreVector(position, index < points.size() ? points[index] : Vector3 {});
        }
    }

    if (withNormals) {
        mesh.BuildNormals();
        vd->AllocateNormals();
        uint8_t* normal = vd->channels[VMVertexData::NORMAL_CHANNEL].data();
        NormalTransformer transformNormal(transform.normalRows);
        for (int32_t f = 0; f < F; ++f) {
            const HostFace& face = faces[static_cast<std::size_t>(f)];
            for (int k = 0; k < 3; ++k) {
                const Vector3 n = ToVector3(CornerNormal(mesh, f, face, face.v[k]));
                normal = StoreVector(normal, transformNormal(n));
            }
        }
    }
    if (withTexCoords)
        FillTexCoords(*vd, mesh, F);
    return vd;
}

void GeometryConvertor::SplitByMaterial(HostNode& node, VMVertexData& source)
{
    const HostMaterial* material = node.GetMaterial();
    const bool optimize = OptimizeGeometry();
    if (!material) {
        AppendPiece(WireColourState(node.GetWireColor(), node.GetVisibility(TIME_ZERO)),
            VMRef<VMVertexData>(&source));
        return;
    }
    const int d = material->GetClassId() == kClassMultiMaterial ? material->NumSubMtls() : 0;
    const std::size_t faceCount = static_cast<std::size_t>(std::max(source.vertexCount, 0)) / 3;
    if (d > 1 && faceMaterialIds_.size() != faceCount) {
        ReportWarning(std::string(node.GetName())
            + ": the material identifiers do not match the mesh; one material used");
    } else if (d > 1) {
        std::vector<uint32_t> pieceOf(faceCount);
        std::vector<int32_t> counts(static_cast<std::size_t>(d), 0);
        for (std::size_t f = 0; f < faceCount; ++f) {
            pieceOf[f] = faceMaterialIds_[f] % static_cast<uint32_t>(d);
            ++counts[pieceOf[f]];
        }
        std::vector<VMRef<VMVertexData>> pieces;
        pieces.reserve(static_cast<std::size_t>(d));
        for (int i = 0; i < d; ++i)
            pieces.push_back(MakePiece(source, 3 * counts[static_cast<std::size_t>(i)]));
        std::vector<int32_t> next(static_cast<std::size_t>(d), 0);
        // Faces of one piece in a row go over as one run of vertices.
        for (std::size_t f = 0; f < faceCount;) {
            const uint32_t which = pieceOf[f];
            std::size_t end = f + 1;
            while (end < faceCount && pieceOf[end] == which)
                ++end;
            const auto count = static_cast<int32_t>(3 * (end - f));
            CopyVertices(*pieces[which], next[which], source, static_cast<int32_t>(3 * f), count);
            next[which] += count;
            f = end;
        }
        for (int i = 0; i < d; ++i) {
            if (optimize)
                OptimiseVertexData(*pieces[static_cast<std::size_t>(i)]);
            AppendPiece(ConvertMaterial(material, TIME_ZERO, i), pieces[static_cast<std::size_t>(i)]);
        }
        return;
    }
    if (optimize)
        OptimiseVertexData(source);
    AppendPiece(ConvertMaterial(material, TIME_ZERO, 0), VMRef<VMVertexData>(&source));
}

void GeometryConvertor::AppendPiece(VMRef<VMRenderState> state, VMRef<VMVertexData> vertexData)
{
    GeometryPair& pair = parts_.Append();
    pair.renderState = std::move(state);
    pair.vertexData = std::move(vertexData);
}

} // namespace vx
