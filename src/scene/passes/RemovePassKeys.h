#pragma once
// Takes the composite-identifier keys out of the host scene again once a run is done with them.

namespace vx {

class HostNode;

// Drops the "COMPID" and "GEOMID" lines of every node below root that still holds them (nodes the
// node factory gave no export node, or every node when the run ended before the tree was built).
// Nodes without them are left untouched. A null root does nothing.
void RemovePassKeys(HostNode* root);

} // namespace vx
