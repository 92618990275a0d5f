#pragma once
// The host interface: the only way the exporter sees the modelling host. One object of this class
// stands for the running host and its current scene. Including this header brings in the whole
// interface.
//
// The interface crosses the plug-in boundary, so the host and the exporter may be built apart
// (another compiler, another standard library). Its virtual functions therefore take and return
// only fundamental types, enums, plain structs of those, pointers to interface objects, C text and
// HostArray views:
// - text is `const char*`, NUL-terminated; text the host returns is never null ("" for none) and
//   stays valid until the object it came from changes or is destroyed;
// - arrays are HostArray (pointer and count) over storage the side that made them owns;
// - no standard containers, strings or smart pointers, no exceptions; an object is destroyed by
//   the side that made it.
// Non-virtual helpers (such as HostNode's typed user properties) are compiled into the caller and
// may use the standard library freely.

#include "host/HostBitmap.h"
#include "host/HostBitmapTexture.h"
#include "host/HostClassId.h"
#include "host/HostController.h"
#include "host/HostDialog.h"
#include "host/HostInterval.h"
#include "host/HostMaterial.h"
#include "host/HostMath.h"
#include "host/HostMesh.h"
#include "host/HostNode.h"
#include "host/HostObject.h"
#include "host/HostShader.h"
#include "host/HostShape.h"
#include "host/HostStandardMaterial.h"
#include "host/HostTexture.h"
#include "host/HostTypes.h"
#include "host/HostUi.h"

namespace vx {

class Host : public HostUi {
public:
    // The scene's root node; its children are the top-level nodes. Never null.
    virtual HostNode* GetRootNode() const = 0;
    // The first node, in depth-first order (parents before children, children in order), whose
    // name equals name exactly; null when there is none or name is null. The root node is not
    // searched.
    virtual HostNode* GetNodeByName(const char* name) const = 0;

    // The current scene file's name (no folder) and full path; both "" for an unsaved scene.
    virtual const char* GetCurFileName() const = 0;
    virtual const char* GetCurFilePath() const = 0;

    // The master unit: unit type code and multiplier.
    virtual HostUnitInfo GetMasterUnitInfo() const = 0;

    // The map directories searched for images, in order; GetMapDir gives "" out of range.
    virtual int GetMapDirCount() const = 0;
    virtual const char* GetMapDir(int index) const = 0;

    // True when the host does not allow scene changes now; the scene passes that replace objects
    // then leave the scene alone.
    virtual bool IsSceneLocked() const = 0;

    // The scene's animation range and the ticks per frame (at least 1).
    virtual HostInterval GetAnimRange() const = 0;
    virtual int GetTicksPerFrame() const = 0;
    // A new controller of classId for the caller, who releases it with its DeleteThis; null when
    // the host has no such class.
    virtual HostController* CreateController(HostClassId classId) = 0;
};

} // namespace vx
