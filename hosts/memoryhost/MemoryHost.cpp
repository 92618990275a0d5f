#include "memoryhost/MemoryHost.h"

#include "memoryhost/DialogSession.h"
#include "memoryhost/MemoryControllerClasses.h"

#include <algorithm>
#include <cstring>

namespace vx {

MemoryHost::MemoryHost()
{
    nodes_.push_back(std::make_unique<MemoryNode>(nullptr, "Scene Root"));
    root_ = nodes_.back().get();
}

MemoryHost::~MemoryHost() = default;

MemoryNode& MemoryHost::AddNode(MemoryNode& parent, std::string name)
{
    nodes_.push_back(std::make_unique<MemoryNode>(&parent, std::move(name)));
    MemoryNode& node = *nodes_.back();
    parent.AppendChild(node);
    return node;
}

MemoryObject& MemoryHost::AddObject(std::uint32_t superClass, HostClassId classId)
{
    objects_.push_back(std::make_unique<MemoryObject>(*this, superClass, classId));
    return *objects_.back();
}

MemoryController& MemoryHost::AddController(
    HostClassId classId, MemoryValueType type, MemoryControllerKind kind)
{
    controllers_.push_back(std::make_unique<MemoryController>(classId, type, kind));
    return *controllers_.back();
}

HostController* MemoryHost::CreateController(HostClassId classId)
{
    const auto known = FindCreatableControllerClass(classId);
    if (!known)
        return nullptr;
    auto* controller = new MemoryController(known->classId, known->type, known->kind);
    controller->SetTemporary();
    return controller;
}

MemoryMaterial& MemoryHost::AddMaterial(HostClassId classId, std::string name)
{
    materials_.push_back(std::make_unique<MemoryMaterial>(classId, std::move(name)));
    return *materials_.back();
}

MemoryTexture& MemoryHost::AddTexture(HostClassId classId, std::string name)
{
    textures_.push_back(std::make_unique<MemoryTexture>(classId, std::move(name)));
    return *textures_.back();
}

HostNode* MemoryHost::GetNodeByName(const char* name) const
{
    if (!name)
        return nullptr;
    // Depth first with an explicit stack: parents before children, children in order.
    std::vector<const MemoryNode*> pending(root_->GetChildren().rbegin(), root_->GetChildren().rend());
    while (!pending.empty()) {
        const MemoryNode* node = pending.back();
        pending.pop_back();
        if (std::strcmp(node->GetName(), name) == 0)
            return const_cast<MemoryNode*>(node);
        pending.insert(pending.end(), node->GetChildren().rbegin(), node->GetChildren().rend());
    }
    return nullptr;
}

const char* MemoryHost::GetCurFileName() const
{
    const size_t slash = sceneFile_.find_last_of('/');
    return slash == std::string::npos ? sceneFile_.c_str() : sceneFile_.c_str() + slash + 1;
}

const char* MemoryHost::GetMapDir(int index) const
{
    if (index < 0 || size_t(index) >= mapDirs_.size())
        return "";
    return mapDirs_[index].c_str();
}

void MemoryHost::ProgressStart(const char* title)
{
    cancelled_ = false;
    driver_->OnProgressStart(title ? title : "");
}

void MemoryHost::ProgressUpdate(int percent)
{
    driver_->OnProgressUpdate(std::clamp(percent, 0, 100));
}

void MemoryHost::ProgressEnd()
{
    driver_->OnProgressEnd();
}

bool MemoryHost::GetCancel()
{
    if (!cancelled_)
        cancelled_ = driver_->IsCancelRequested();
    return cancelled_;
}

void MemoryHost::ShowMessageBox(HostWindow owner, const char* text, const char* caption)
{
    driver_->OnMessageBox(owner, text ? text : "", caption ? caption : "");
}

int MemoryHost::ShowModalDialog(HostWindow parent, const HostDialogTemplate& dialog, HostDialogProc& proc)
{
    DialogSession session(parent, dialog, proc);
    return session.Run(*driver_);
}

} // namespace vx
