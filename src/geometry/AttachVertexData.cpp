#include "geometry/NodeGeometry.h"

#include "geometry/DesignFrame.h"
#include "geometry/ModelStateIndex.h"
#include "geometry/ReverseWinding.h"
#include "geometry/SharedVertexDataList.h"
#include "materials/SharedStateList.h"
#include "materials/UsesTextureCoordinates.h"

#include "design/Model.h"
#include "run/ExportRunState.h"
#include "toolkit/VMAlphaProperty.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMTextureProperty.h"

#include <cstring>

namespace vx {

namespace {

constexpr float MINIMUM_ALPHA = 0.01f;

bool IsAcceptedLayout(uint32_t code)
{
    return code == 1 || code == 3 || code == 131 || code == 387;
}

// Whether the state shows anything: it has a material or textures, and is not fully transparent.
bool IsVisible(const VMRenderState& state)
{
    const auto* mp = state.Find<VMMaterialProperty>();
    if (!mp && !state.Find<VMTextureProperty>())
        return false;
    if (mp && mp->Alpha < MINIMUM_ALPHA)
        return false;
    const auto* ap = state.Find<VMAlphaProperty>();
    return !(ap && ap->alpha < MINIMUM_ALPHA);
}

// The three floats at bytes.
Vector3 LoadVector(const uint8_t* bytes)
{
    float xyz[3];
    std::memcpy(xyz, bytes, sizeof xyz);
    return {xyz[0], xyz[1], xyz[2]};
}

void StoreVector(uint8_t* bytes, const Vector3& v)
{
    const float xyz[3] = {v.x, v.y, v.z};
    std::memcpy(bytes, xyz, sizeof xyz);
}

// Applies change to the leading three floats of each vertex's element in slot; a channel with
// elements shorter than that is left alone.
template <class Change> void ChangeVectors(VMVertexData& v, int slot, Change&& change)
{
    const std::size_t size = v.ElementSize(slot);
    if (size < 3 * sizeof(float))
        return;
    uint8_t* bytes = v.channels[static_cast<std::size_t>(slot)].data();
    for (int32_t i = 0; i < v.vertexCount; ++i, bytes += size)
        StoreVector(bytes, change(LoadVector(bytes)));
}

void TransformVertices(VMVertexData& v, const Transform& transform)
{
    // A mirror turns each triangle's corner order around against its normals: turn it back.
    if (Determinant(transform.rows) < 0.0)
        ReverseWinding(v);
    ChangeVectors(v, VMVertexData::POSITION_CHANNEL,
        [&transform](const Vector3& p) { return SwapYZ(ApplyTransform(transform, p)); });
    NormalTransformer transformNormal(NormalRows(transform.rows));
    ChangeVectors(v, VMVertexData::NORMAL_CHANNEL,
        [&transformNormal](const Vector3& n) { return SwapYZ(transformNormal(n)); });
}

bool ShareEqualData()
{
    const ExportRunState* run = CurrentExporter();
    return run ? run->shareEqualData : true;
}

} // namespace

void AttachVertexData(
    ZR::Model& model, VMRef<VMVertexData> vertexData, VMRenderState* renderState, const Transform& transform)
{
    // A piece without vertices (an unused sub-material) has nothing to show.
    if (!vertexData || vertexData->vertexCount <= 0)
        return;
    if (!IsAcceptedLayout(vertexData->VertexFormatCode())) {
        if (ExportRunState* run = CurrentExporter())
            run->WriteLogLine("Invalid vertex data format");
        return;
    }
    if (!renderState || !IsVisible(*renderState))
        return;

    // Data nobody else holds is changed in place: copying every vertex of a large scene is a
    // noticeable share of the conversion and of the peak memory.
    VMRef<VMVertexData> clone
        = vertexData->RefCount() == 1 ? std::move(vertexData) : CloneVertexData(*vertexData);
    TransformVertices(*clone, transform);

    VMRef<VMRenderState> state(renderState);
    if (VMRenderState* inModel = FindIdenticalModelState(model, *state))
        state.Reset(inModel);
    const bool share = ShareEqualData();
    if (share)
        state = FindOrAddSharedState(state.Get());

    ZR::ModelPair& pair = model.pairs.Append();
    pair.rs = state;
    if (!UsesTextureCoordinates(state.Get(), clone.Get()))
        clone->FreeTexCoords();
    pair.vd = share ? FindOrAddSharedVertexData(clone.Get()) : clone;
}

} // namespace vx
