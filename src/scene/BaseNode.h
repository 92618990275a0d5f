#pragma once
// BaseNode: the root of the export node family. Export nodes mirror the host scene and convert
// themselves into the design; they are reference-counted by their parents (the run holds the
// root) and destroy themselves when the last reference goes.
//
// Every export node is counted in the current scene context's liveNodeCount from its construction
// to its destruction, so the count is 0 again once a run has released its tree.

#include "host/HostMath.h"

#include <cstdint>

namespace ZR {
struct CompositeObject;
}

namespace vx {

class StrongNode;

class BaseNode {
public:
    BaseNode();
    BaseNode(const BaseNode&) = delete;
    BaseNode& operator=(const BaseNode&) = delete;

    // Adds one reference; returns the new count.
    int32_t Retain();
    // Drops one reference; at 0 the node is destroyed (Destroy). Returns the new count. Releasing a
    // node without references is reported ("refCount>0") and changes nothing.
    int32_t Release();
    int32_t GetRefCount() const { return refCount_; }

    // Converts the node into target: single merges its geometry into target, parent is the world
    // transform of target's frame (host matrices, frame 0). The base node converts nothing.
    virtual void Convert(ZR::CompositeObject* target, bool single, const HostMatrix3& parent);
    // Converts the node into target placed by transform instead of its own transform, as the node
    // copy (a copy made from this template): the instance that places the node's object takes the
    // copy's name and user-property lines. The base node converts nothing.
    virtual void ConvertWithTransform(
        ZR::CompositeObject* target, bool single, const HostMatrix3& transform, const StrongNode& copy);

protected:
    virtual ~BaseNode();
    // Releases what the node holds and deletes it.
    virtual void Destroy();

private:
    int32_t refCount_ = 0;
};

// Calls the run's node progress hook when it is set.
void TickNodeProgress();

// Whether the host reports that the user cancelled (false without a current exporter or host).
bool IsExportCancelled();

} // namespace vx
