#pragma once
// The host interface: the only way the exporter sees the modelling host. One object of this class
// stands for the running host and its current scene. Including this header brings in the whole
// interface.

#include "host/HostBitmap.h"
#include "host/HostBitmapTexture.h"
#include "host/HostClassId.h"
#include "host/HostController.h"
#include "host/HostDialog.h"
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

#include <string>
#include <string_view>

namespace vx {

class Host : public HostUi {
public:
    // The scene's root node; its children are the top-level nodes. Never null.
    virtual HostNode* GetRootNode() const = 0;
    // The first node, in depth-first order (parents before children, children in order), whose
    // name equals name exactly; null when there is none. The root node is not searched.
    virtual HostNode* GetNodeByName(std::string_view name) const = 0;

    // The current scene file's name (no folder) and full path; both empty for an unsaved scene.
    virtual std::string GetCurFileName() const = 0;
    virtual std::string GetCurFilePath() const = 0;

    // The master unit: unit type code and multiplier.
    virtual HostUnitInfo GetMasterUnitInfo() const = 0;

    // The map directories searched for images, in order; GetMapDir gives "" out of range.
    virtual int GetMapDirCount() const = 0;
    virtual std::string GetMapDir(int index) const = 0;

    // True when the host does not allow scene changes now; the scene passes that replace objects
    // then leave the scene alone.
    virtual bool IsSceneLocked() const = 0;
};

} // namespace vx
