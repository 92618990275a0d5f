#pragma once
// The node factory: decides which export node a host node gets, from its object's class and its
// user-defined properties, and builds that node's subtree.

namespace vx {

class BaseNode;
class HostNode;

// The export node of hostNode with its subtree built, or null when the node is left out:
// - a camera or a light, or a node with one of the null-node keys: a MyNullNode;
// - a node with "ZRInstance": a MyInstanceNode of the node named by the rest of that line (its host
//   node is entered in the scene context's referencedNodes); null when no node has that name;
// - the head of a group: a MyGroupNode; geometry or a shape (also beneath a modifier stack): a
//   MyGeomNode, with the composite identifier of its "COMPID" line when that parses;
// - anything else: null, and the node's properties are left untouched.
// Every node that gets an export node loses its "COMPID" and "GEOMID" lines. A null hostNode gives
// null.
BaseNode* CreateExportNode(HostNode* hostNode);

} // namespace vx
