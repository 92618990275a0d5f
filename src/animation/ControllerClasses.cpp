#include "animation/ControllerClasses.h"

#include <initializer_list>

namespace vx {

bool IsXyzPositionClass(const HostClassId& id)
{
    return id == HostClassId {0x118F7E02u, 0xFFEE238Au} || id == HostClassId {0x118F7C01u, 0xFEEE238Au}
    || id == HostClassId {0x118F7E02u, 0xFEEE238Bu};
}

bool IsEulerClass(const HostClassId& id)
{
    return id == kEulerXyzClass || id == kEulerXyzClass2;
}

bool IsKeyFloatClass(const HostClassId& id)
{
    return id == kLinearFloatClass || id == kBezierFloatClass || id == kTcbFloatClass;
}

bool IsKeyControllerClass(const HostClassId& id)
{
    for (const HostClassId& known : {kLinearFloatClass, kLinearPositionClass, kLinearRotationClass,
             kLinearScaleClass, kBezierPositionClass, kSmoothRotationClass, kBezierPointClass,
             kBezierScaleClass, kTcbPositionClass, kTcbPointClass, kTcbRotationClass})
        if (id == known)
            return true;
    return false;
}

} // namespace vx
