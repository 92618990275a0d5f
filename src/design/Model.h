#pragma once
// Model: the own geometry of a composite object, a list of (vertex data, render state) pairs each
// with its transform, buffer file names and source box. Copying a model shares its vertex data and
// render states (the references are counted).

#include "base/Array.h"
#include "base/FixedString.h"
#include "base/HeapString.h"
#include "design/PlacementTransform.h"
#include "design/SourceBox.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMRenderState.h"
#include "toolkit/VMVertexData.h"

#include <cstdint>

namespace ZR {

struct ModelPair {
    // The vertices, the 16-bit index list and the primitive type; may be null.
    vx::VMRef<vx::VMVertexData> vd;
    // The material.
    vx::VMRef<vx::VMRenderState> rs;
    // Where the pair sits in the object; set by the node conversion after the pair is attached.
    PlacementTransform transform;
    // Vertex and index buffer file names; empty until named.
    vx::FixedString vertexFile;
    vx::FixedString indexFile;
    // The source object's box in host axes and units, set with transform; empty when not known.
    SourceBox sourceBox;
};

struct Model {
    // Name of a custom effect; always empty in this system.
    vx::HeapString customeffect;
    // Row identifier of the written geometry; -1 until written.
    int64_t geomid = -1;
    // The pairs in the order they were attached; empty means no geometry.
    vx::Array<ModelPair> pairs;
};

} // namespace ZR
