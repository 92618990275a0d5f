#pragma once
// The in-memory scene node. It keeps its transform relative to its parent; world transforms are
// computed through the parents when asked for.

#include "host/HostNode.h"

#include <string>
#include <vector>

namespace vx {

class MemoryController;

class MemoryNode final : public HostNode {
public:
    // Nodes are made by MemoryHost (the root) and MemoryHost::AddNode, which owns them.
    MemoryNode(MemoryNode* parent, std::string name);

    void SetName(std::string name) { name_ = std::move(name); }
    void SetMaterial(HostMaterial* material) { material_ = material; }
    // The transform controller (owned by the host; null for none). With one, the node's transform
    // relative to its parent at time t is the controller's, and the local transform below serves
    // only while the controller's own evaluation asks for this node's transform again (a path
    // constraint on the node itself or on one of its children): that inner request gets the local
    // transform, so the evaluation ends.
    void SetTMController(MemoryController* controller) { controller_ = controller; }
    // The node's static transform relative to its parent's node transform (identity by default).
    void SetLocalTM(const HostMatrix3& local) { local_ = local; }
    const HostMatrix3& GetLocalTM() const { return local_; }
    // The object offset (identity by default).
    void SetObjectOffset(const HostPoint3& position, const HostQuat& rotation, const HostPoint3& scale);
    // With a world-space modifier the object's data is in world space: the object transform after
    // world-space modifiers is then the identity.
    void SetWorldSpaceModifier(bool on) { worldSpaceModifier_ = on; }
    bool IsWorldSpaceModifier() const { return worldSpaceModifier_; }
    void SetWireColor(std::uint32_t color) { wireColor_ = color; }
    void SetVisibility(float visibility) { visibility_ = visibility; }
    void SetHidden(bool hidden) { hidden_ = hidden; }
    // Appends child as the last child (used by MemoryHost::AddNode).
    void AppendChild(MemoryNode& child) { children_.push_back(&child); }

    const char* GetName() const override { return name_.c_str(); }
    HostMaterial* GetMaterial() const override { return material_; }
    HostObject* GetObjectRef() const override { return object_; }
    // Any object, or null for none.
    void SetObjectRef(HostObject* object) override { object_ = object; }
    HostObject* EvalWorldState(HostTime t) const override;
    HostMatrix3 GetNodeTM(HostTime t) const override;
    HostMatrix3 GetObjectTM(HostTime t) const override;
    HostMatrix3 GetObjTMAfterWSM(HostTime t) const override;
    HostMatrix3 GetParentTM(HostTime t) const override;
    HostPoint3 GetObjOffsetPos() const override { return offsetPosition_; }
    HostQuat GetObjOffsetRot() const override { return offsetRotation_; }
    HostPoint3 GetObjOffsetScale() const override { return offsetScale_; }
    HostNode* GetParentNode() const override { return parent_; }
    bool IsRootNode() const override { return parent_ == nullptr; }
    int NumberOfChildren() const override { return static_cast<int>(children_.size()); }
    HostNode* GetChildNode(int index) const override;
    HostBox3 GetObjectBoundingBox() const override;
    void SetScratchValue(int value) override { scratch_ = value; }
    int GetScratchValue() const override { return scratch_; }
    const char* GetUserPropBuffer() const override { return userProperties_.c_str(); }
    void SetUserPropBuffer(const char* text) override { userProperties_ = text ? text : ""; }
    // The same for the substitute host's own callers (the loader, tests).
    void SetUserPropBuffer(const std::string& text) { userProperties_ = text; }
    std::uint32_t GetWireColor() const override { return wireColor_; }
    float GetVisibility(HostTime) const override { return visibility_; }
    bool IsHidden() const override { return hidden_; }
    HostController* GetTMController() const override;

    // The node's children as memory nodes.
    const std::vector<MemoryNode*>& GetChildren() const { return children_; }

private:
    HostMatrix3 GetObjectOffsetTM() const;
    // The transform relative to the parent at t.
    HostMatrix3 LocalTMAt(HostTime t) const;

    MemoryNode* parent_;
    std::vector<MemoryNode*> children_;
    std::string name_;
    HostObject* object_ = nullptr;
    HostMaterial* material_ = nullptr;
    HostMatrix3 local_;
    MemoryController* controller_ = nullptr;
    // Set while controller_ evaluates; see SetTMController.
    mutable bool evaluating_ = false;
    HostPoint3 offsetPosition_;
    HostQuat offsetRotation_;
    HostPoint3 offsetScale_ {1, 1, 1};
    bool worldSpaceModifier_ = false;
    int scratch_ = 0;
    std::string userProperties_;
    std::uint32_t wireColor_ = 0x00808080;
    float visibility_ = 1.0f;
    bool hidden_ = false;
};

} // namespace vx
