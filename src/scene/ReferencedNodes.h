#pragma once
// The referenced-node pass: prepares the templates named by "ZRInstance" properties before the
// tree is converted.

namespace ZR {
struct CompositeObject;
}

namespace vx {

class BaseNode;

// Walks the subtree of node depth first, each node before its children. For a node whose host node
// is a key of the scene context's referencedNodes: a geometry or group node becomes the entry's
// export node and, when it has no composite identifier and no children, gets a new one (so the
// template and its instances share one composite object); any other node writes the log line
// "Failed to process referenced node with name: " + its name. designRoot is not used.
void ProcessReferencedNodes(BaseNode& node, ZR::CompositeObject* designRoot);

} // namespace vx
