#pragma once
// Animation controllers: what drives a node's transform over time. A node's transform controller
// has position, rotation and scale sub-controllers; those may be key-frame controllers (with a key
// interface), XYZ / Euler controllers of three float sub-controllers, a path constraint, or any
// other class. The exporter recognises controllers by their class identifier.

#include "host/HostClassId.h"
#include "host/HostInterval.h"
#include "host/HostMath.h"
#include "host/HostTypes.h"

namespace vx {

class HostController;
class HostNode;

// One key of a key-frame controller. Which fields carry the value depends on the controller:
// - float controllers: value; Bezier float keys keep their tangents in inTangent.x and outTangent.x;
// - position controllers: point; Bezier position keys their tangent vectors in inTangent and
//   outTangent;
// - scale controllers: point holds the three scale factors;
// - linear and smooth rotation: quat is the key's rotation;
// - TCB rotation: the key's rotation relative to the key before it, as axis and angle (radians);
//   quat holds the same relative rotation as a quaternion.
// TCB keys of any type carry tension, continuity and bias.
struct HostKey {
    HostTime time = 0;
    float value = 0.0f;
    HostPoint3 point;
    HostQuat quat;
    HostPoint3 axis {0, 0, 1};
    float angle = 0.0f;
    HostPoint3 inTangent;
    HostPoint3 outTangent;
    float tension = 0.0f;
    float continuity = 0.0f;
    float bias = 0.0f;
};

// The key interface of a key-frame controller: its keys in increasing time.
class HostKeyControl {
public:
    virtual int GetNumKeys() const = 0;
    // Fills key with key index and returns true; false (key unchanged) when the key cannot be read,
    // an index out of range included.
    virtual bool GetKey(int index, HostKey* key) const = 0;

protected:
    ~HostKeyControl() = default;
};

// A controller's value at a time: point for position controllers (and the scale factors of scale
// controllers), quat for rotation controllers, value for float controllers.
struct HostControllerValue {
    HostPoint3 point;
    HostQuat quat;
    float value = 0.0f;
};

// The path constraint: the position follows the spline of a shape node.
class HostPathConstraint {
public:
    // The first path node, or null when the constraint has none.
    virtual HostNode* GetPathNode() const = 0;
    // The follow and flip options, and the follow axis (0 x, 1 y, 2 z).
    virtual bool GetFollow() const = 0;
    virtual bool GetFlip() const = 0;
    virtual int GetAxis() const = 0;
    // The controller of the position along the path (a float controller); null when it has none.
    virtual HostController* GetPercentController() const = 0;

protected:
    ~HostPathConstraint() = default;
};

class HostController {
public:
    virtual HostClassId GetClassId() const = 0;
    // Whether the controller's value changes over time.
    virtual bool IsAnimated() const = 0;
    // The key interface, or null for controllers without one.
    virtual const HostKeyControl* GetKeyControl() const = 0;
    // The controller's own key list (key times only), also for controllers without a key interface:
    // the number of keys and the time of key index (0 for an index out of range).
    virtual int NumKeys() const = 0;
    virtual HostTime GetKeyTime(int index) const = 0;

    // A transform controller's position, rotation and scale sub-controllers; null for other
    // controllers or a missing one.
    virtual HostController* GetPositionController() const = 0;
    virtual HostController* GetRotationController() const = 0;
    virtual HostController* GetScaleController() const = 0;
    // An XYZ position or Euler rotation controller's float sub-controllers; null otherwise.
    virtual HostController* GetXController() const = 0;
    virtual HostController* GetYController() const = 0;
    virtual HostController* GetZController() const = 0;

    // The span of the controller's animation ("forever" when it is not bounded, "never" when it has
    // nothing to span).
    virtual HostInterval GetTimeRange() const = 0;
    // The value at time t; when valid is not null it is narrowed to the interval around t over
    // which the value stays the same.
    virtual HostControllerValue GetValue(HostTime t, HostInterval* valid) const = 0;
    // Makes this controller's keys a copy of from's animation, converted to this controller's class
    // (an XYZ position into a position controller, an Euler rotation into a rotation controller).
    // Returns false, changing nothing, when the host cannot convert from's class.
    virtual bool Copy(const HostController* from) = 0;

    // The path constraint interface, or null for any other controller.
    virtual HostPathConstraint* GetPathConstraint() const = 0;

    // Releases a controller that the host created for the caller (Host::CreateController). The
    // scene's own controllers ignore the call.
    virtual void DeleteThis() = 0;

protected:
    ~HostController() = default;
};

} // namespace vx
