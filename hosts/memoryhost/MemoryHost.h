#pragma once
// The substitute host: an in-memory scene behind the host interface. It owns every node, object,
// material and texture of the scene; nodes refer to objects, materials and textures by pointer, so
// several nodes can share one. Its user interface is routed to a UI driver (the front end or a
// test).

#include "host/Host.h"
#include "memoryhost/MemoryController.h"
#include "memoryhost/MemoryMaterial.h"
#include "memoryhost/MemoryNode.h"
#include "memoryhost/MemoryObject.h"
#include "memoryhost/MemoryTexture.h"
#include "memoryhost/UiDriver.h"

#include <memory>
#include <string>
#include <vector>

namespace vx {

class MemoryHost final : public Host {
public:
    // An empty, unsaved scene in metres: a root node named "Scene Root" without children.
    MemoryHost();
    ~MemoryHost() override;
    MemoryHost(const MemoryHost&) = delete;
    MemoryHost& operator=(const MemoryHost&) = delete;

    // Building the scene. Everything made here lives as long as the host.
    MemoryNode& GetRoot() { return *root_; }
    const MemoryNode& GetRoot() const { return *root_; }
    // A new node appended as parent's last child; parent must belong to this host.
    MemoryNode& AddNode(MemoryNode& parent, std::string name);
    MemoryObject& AddObject(std::uint32_t superClass, HostClassId classId);
    MemoryMaterial& AddMaterial(HostClassId classId, std::string name);
    MemoryTexture& AddTexture(HostClassId classId, std::string name);
    MemoryController& AddController(HostClassId classId, MemoryValueType type, MemoryControllerKind kind);

    // The scene file's full path ("" for an unsaved scene); the name is its last component.
    void SetSceneFile(std::string path) { sceneFile_ = std::move(path); }
    void SetMasterUnit(HostUnitInfo unit) { unit_ = unit; }
    void SetMapDirs(std::vector<std::string> dirs) { mapDirs_ = std::move(dirs); }
    void SetSceneLocked(bool locked) { sceneLocked_ = locked; }
    // The animation range (frames 0 to 100 by default) and the ticks per frame (160: 30 frames a
    // second); ticksPerFrame must be at least 1.
    void SetAnimRange(HostInterval range) { animRange_ = range; }
    void SetTicksPerFrame(int ticksPerFrame) { ticksPerFrame_ = ticksPerFrame; }
    // The driver that plays the user (not owned; it must outlive its use). Null restores the
    // default driver, which never cancels and answers dialogs with their OK button.
    void SetUiDriver(UiDriver* driver) { driver_ = driver ? driver : &defaultDriver_; }

    size_t GetNodeCount() const { return nodes_.size(); }
    size_t GetObjectCount() const { return objects_.size(); }

    HostNode* GetRootNode() const override { return root_; }
    HostNode* GetNodeByName(const char* name) const override;
    HostNode* GetNodeByName(const std::string& name) const { return GetNodeByName(name.c_str()); }
    const char* GetCurFileName() const override;
    const char* GetCurFilePath() const override { return sceneFile_.c_str(); }
    HostUnitInfo GetMasterUnitInfo() const override { return unit_; }
    int GetMapDirCount() const override { return static_cast<int>(mapDirs_.size()); }
    const char* GetMapDir(int index) const override;
    bool IsSceneLocked() const override { return sceneLocked_; }
    HostInterval GetAnimRange() const override { return animRange_; }
    int GetTicksPerFrame() const override { return ticksPerFrame_; }
    // A temporary key-frame, XYZ position or Euler rotation controller of classId (see
    // FindCreatableControllerClass), which the caller releases with DeleteThis; null for other classes.
    HostController* CreateController(HostClassId classId) override;

    // The main window and the active window are two fixed, distinct handles.
    static constexpr HostWindow kMainWindow {1};
    static constexpr HostWindow kActiveWindow {2};
    HostWindow GetMainWindow() const override { return kMainWindow; }
    HostWindow GetActiveWindow() const override { return kActiveWindow; }
    void ProgressStart(const char* title) override;
    void ProgressUpdate(int percent) override;
    void ProgressEnd() override;
    bool GetCancel() override;
    void ShowMessageBox(HostWindow owner, const char* text, const char* caption) override;
    int ShowModalDialog(HostWindow parent, const HostDialogTemplate& dialog, HostDialogProc& proc) override;

private:
    std::vector<std::unique_ptr<MemoryNode>> nodes_;
    std::vector<std::unique_ptr<MemoryObject>> objects_;
    std::vector<std::unique_ptr<MemoryMaterial>> materials_;
    std::vector<std::unique_ptr<MemoryTexture>> textures_;
    std::vector<std::unique_ptr<MemoryController>> controllers_;
    MemoryNode* root_ = nullptr;

    std::string sceneFile_;
    HostUnitInfo unit_;
    std::vector<std::string> mapDirs_;
    bool sceneLocked_ = false;
    HostInterval animRange_ {0, 100 * 160};
    int ticksPerFrame_ = 160;

    UiDriver defaultDriver_;
    UiDriver* driver_ = &defaultDriver_;
    bool cancelled_ = false;
};

} // namespace vx
