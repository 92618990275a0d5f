#pragma once
// The in-memory animation controller. One class plays every controller the substitute host knows:
// key-frame controllers (linear, Bezier, TCB, smooth) of floats, positions, rotations and scales,
// XYZ position and Euler rotation controllers over three float controllers, the path constraint,
// the transform controller over position, rotation and scale, and controllers of any other class
// (keys without a key interface). Every keyed controller moves linearly from key to key (rotations
// along the shorter arc); Bezier tangents and TCB values are kept for the caller but do not shape
// the motion.

#include "host/HostController.h"
#include "host/HostShape.h"

#include <optional>
#include <vector>

namespace vx {

class HostNode;

// What a controller's value is.
enum class MemoryValueType { Float, Position, Rotation, Scale, Transform };

// How the controller works.
enum class MemoryControllerKind {
    Keys, // a key-frame controller with a key interface
    Xyz, // three float sub-controllers: XYZ position, or Euler rotation (angles in radians, x first)
    Path, // a path constraint
    Transform, // position, rotation and scale sub-controllers
    Other, // any other class: keys (times and values) without a key interface
};

class MemoryController final : public HostController, private HostKeyControl, private HostPathConstraint {
public:
    MemoryController(HostClassId classId, MemoryValueType type, MemoryControllerKind kind);
    ~MemoryController();
    MemoryController(const MemoryController&) = delete;
    MemoryController& operator=(const MemoryController&) = delete;

    // The keys, sorted by time here (a stable sort keeps the given order of equal times). For a
    // rotation controller with relativeRotations (TCB rotation) each key's rotation is relative to
    // the key before it, as axis and angle.
    void SetKeys(std::vector<HostKey> keys, bool relativeRotations = false);
    // The value of a controller without keys.
    void SetConstant(const HostControllerValue& value) { constant_ = value; }
    // Overrides the animated flag, which is otherwise true when the controller has at least two
    // keys (Keys, Other), when a sub-controller is animated (Xyz, Transform) or always (Path).
    void SetAnimated(bool animated) { animated_ = animated; }
    // Sub-controllers (not owned; null for a missing one): position, rotation and scale of a
    // transform controller, or x, y and z of an XYZ controller.
    void SetSubControllers(MemoryController* a, MemoryController* b, MemoryController* c);
    // The path constraint's path node, percentage controller (values in percent: 0 the spline's
    // start, 100 its end) and follow options.
    void SetPath(HostNode* pathNode, MemoryController* percent, bool follow, bool flip, int axis);
    // Marks a controller made for a caller, which DeleteThis destroys.
    void SetTemporary() { temporary_ = true; }

    MemoryValueType GetValueType() const { return type_; }
    MemoryControllerKind GetKind() const { return kind_; }
    // The keys with absolute rotations (for relative rotations, the running product).
    const std::vector<HostKey>& GetKeys() const { return keys_; }
    // The local transform of a transform controller at t: scale, then rotation, then translation.
    HostMatrix3 GetMatrix(HostTime t) const;

    HostClassId GetClassId() const override { return classId_; }
    bool IsAnimated() const override;
    const HostKeyControl* GetKeyControl() const override;
    // The key list: the keys' times; for an XYZ controller the distinct times of its sub-controllers' keys.
    int NumKeys() const override { return static_cast<int>(GetKeyTimes().size()); }
    HostTime GetKeyTime(int index) const override;
    HostController* GetPositionController() const override
    {
        return SubIf(MemoryControllerKind::Transform, 0);
    }
    HostController* GetRotationController() const override
    {
        return SubIf(MemoryControllerKind::Transform, 1);
    }
    HostController* GetScaleController() const override { return SubIf(MemoryControllerKind::Transform, 2); }
    HostController* GetXController() const override { return SubIf(MemoryControllerKind::Xyz, 0); }
    HostController* GetYController() const override { return SubIf(MemoryControllerKind::Xyz, 1); }
    HostController* GetZController() const override { return SubIf(MemoryControllerKind::Xyz, 2); }
    HostInterval GetTimeRange() const override;
    HostControllerValue GetValue(HostTime t, HostInterval* valid) const override;
    bool Copy(const HostController* from) override;
    HostPathConstraint* GetPathConstraint() const override;
    void DeleteThis() override;

private:
    // HostKeyControl
    int GetNumKeys() const override { return static_cast<int>(givenKeys_.size()); }
    bool GetKey(int index, HostKey* key) const override;

    // HostPathConstraint
    HostNode* GetPathNode() const override { return pathNode_; }
    bool GetFollow() const override { return follow_; }
    bool GetFlip() const override { return flip_; }
    int GetAxis() const override { return axis_; }
    HostController* GetPercentController() const override { return percent_; }

    HostController* SubIf(MemoryControllerKind kind, int index) const
    {
        return kind_ == kind ? sub_[static_cast<size_t>(index)] : nullptr;
    }
    std::vector<HostTime> GetKeyTimes() const;
    HostControllerValue GetKeyedValue(HostTime t, HostInterval* valid) const;
    HostControllerValue GetXyzValue(HostTime t, HostInterval* valid) const;
    HostControllerValue GetPathValue(HostTime t, HostInterval* valid) const;
    bool CopyXyz(const MemoryController& from);

    HostClassId classId_;
    MemoryValueType type_;
    MemoryControllerKind kind_;
    // The keys as given (the key interface hands them out) and with absolute rotations.
    std::vector<HostKey> givenKeys_;
    std::vector<HostKey> keys_;
    HostControllerValue constant_;
    std::optional<bool> animated_;
    MemoryController* sub_[3] = {nullptr, nullptr, nullptr};
    HostNode* pathNode_ = nullptr;
    MemoryController* percent_ = nullptr;
    bool follow_ = false;
    bool flip_ = false;
    int axis_ = 0;
    bool temporary_ = false;
};

// The point at fraction (0 the first knot, 1 the last, or the first again when closed) along the
// Bezier spline of knots, uniform per segment; fractions outside 0..1 are clamped. A spline without
// knots gives the origin.
HostPoint3 EvaluateSpline(const HostSpline& spline, float fraction);

// The rotation of Euler angles (radians): about x, then y, then z.
HostQuat MakeEulerRotation(float x, float y, float z);

} // namespace vx
