#pragma once
// The bounding boxes of the design, computed from the composite objects' geometry and instances.

namespace ZR {
struct CompositeObject;
}

namespace vx {

// Computes the box (Aabb) of object from its own geometry and its instances. The box computation
// is not part of the conversion yet: until it arrives this leaves the box as it is.
void ComputeCompositeBounds(ZR::CompositeObject& object);

} // namespace vx
