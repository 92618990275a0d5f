#pragma once
// Sharing of composite objects: nodes that show the same host object with the same material and
// scale under one composite identifier share one composite object.

#include "base/UniqueId.h"

namespace ZR {
struct CompositeObject;
}

namespace vx {

class HostNode;

struct CompositeLookup {
    ZR::CompositeObject* composite = nullptr;
    // The object is new in the design.
    bool created = false;
    // Its geometry must be built from this node.
    bool fill = false;
};

// The composite object for hostNode under the composite identifier id (ownObject: the node's own
// object, whose placement takes the scale of the node's transform):
// - a scalable or extrudable node ("VNXScalable", "VNXExtrudable", only at unit scale) with a
//   template name takes the identifier FromName(name + "[SC];" or "[EX];") and the composite the
//   template's name;
// - an identifier not yet in objectSignatures: the design's object named by the identifier's text,
//   registered with the node's signature (fill set);
// - a registered identifier with an equal signature: the object of the first identifier
//   registered with it;
// - a different signature: for a scalable or extrudable node the registered object (with a warning
//   in the log); otherwise (another scale, object or material) the object of an identifier
//   registered with this very signature, or else a new object under a new identifier, registered
//   with this signature, with a copy of the registered object's geometry (fill clear) and this
//   node's scale in its placement.
// Without a current scene context the result is empty.
CompositeLookup FindOrCreateComposite(HostNode& hostNode, const DUniqueID& id, bool ownObject);

} // namespace vx
