#pragma once
// A scene node: a named place in the scene hierarchy that shows an object with a material.

#include "host/HostMath.h"
#include "host/HostTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

class HostController;
class HostMaterial;
class HostObject;

class HostNode {
public:
    virtual ~HostNode() = default;

    // The node's name (any length; several nodes may share one).
    virtual const char* GetName() const = 0;
    // The node's material, or null.
    virtual HostMaterial* GetMaterial() const = 0;
    // The object the node shows, or null (the root node has none).
    virtual HostObject* GetObjectRef() const = 0;
    // Makes the node show object instead (an object of the same host); null leaves it without one.
    virtual void SetObjectRef(HostObject* object) = 0;
    // The object that results from the node's modifier stack at time t, or null without object.
    virtual HostObject* EvalWorldState(HostTime t) const = 0;

    // Transforms at time t, world space. The node transform is the pivot; the object transform adds
    // the object offset (offset * node); after world-space modifiers it is the identity when the
    // node's object is deformed in world space, else the object transform. The parent transform is
    // the parent's node transform (the identity for the root's children).
    virtual HostMatrix3 GetNodeTM(HostTime t) const = 0;
    virtual HostMatrix3 GetObjectTM(HostTime t) const = 0;
    virtual HostMatrix3 GetObjTMAfterWSM(HostTime t) const = 0;
    virtual HostMatrix3 GetParentTM(HostTime t) const = 0;

    // The object offset from the pivot: position, rotation and scale factors.
    virtual HostPoint3 GetObjOffsetPos() const = 0;
    virtual HostQuat GetObjOffsetRot() const = 0;
    virtual HostPoint3 GetObjOffsetScale() const = 0;

    // Hierarchy: parent (null for the root), children in the host's order.
    virtual HostNode* GetParentNode() const = 0;
    virtual bool IsRootNode() const = 0;
    virtual int NumberOfChildren() const = 0;
    // The child at index; null when index is out of range.
    virtual HostNode* GetChildNode(int index) const = 0;

    // The bounding box of the evaluated object at time 0 in node space (object offset applied);
    // the empty box when the object has no geometry.
    virtual HostBox3 GetObjectBoundingBox() const = 0;

    // One integer of scratch per node, kept by the host for its callers; 0 at first.
    virtual void SetScratchValue(int value) = 0;
    virtual int GetScratchValue() const = 0;

    // The user-defined property text: lines separated by LF, CR may occur. Never cut. Setting null
    // empties it.
    virtual const char* GetUserPropBuffer() const = 0;
    virtual void SetUserPropBuffer(const char* text) = 0;

    // Typed user properties: "key = value" lines of the user property text, matched by exact key
    // (see HostUserProperties.h). The getters return false, leaving value alone, when the key is
    // absent or its value does not parse; the setters replace the first such line or append one.
    // They work on the text above and are compiled into the caller (not part of the interface).
    bool GetUserPropString(std::string_view key, std::string& value) const;
    bool GetUserPropInt(std::string_view key, int& value) const;
    bool GetUserPropBool(std::string_view key, bool& value) const;
    void SetUserPropString(std::string_view key, std::string_view value);
    void SetUserPropInt(std::string_view key, int value);
    void SetUserPropBool(std::string_view key, bool value);

    // Wire colour as 0x00BBGGRR; visibility at time t (1 = fully visible); the hidden state.
    virtual std::uint32_t GetWireColor() const = 0;
    virtual float GetVisibility(HostTime t) const = 0;
    virtual bool IsHidden() const = 0;

    // The node's transform controller (position, rotation and scale sub-controllers), or null when
    // the node's transform is not driven by one.
    virtual HostController* GetTMController() const = 0;
};

} // namespace vx
