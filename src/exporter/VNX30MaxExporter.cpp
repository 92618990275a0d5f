#include "exporter/VNX30MaxExporter.h"

#include "exporter/ExportTexts.h"
#include "exporter/OptionKeys.h"
#include "exporter/OptionsDialog.h"
#include "run/NodeProgressHook.h"
#include "run/SceneContext.h"

#include "host/Host.h"

#include <exception>
#include <string>
#include <utility>

namespace vx {

VNX30MaxExporter::VNX30MaxExporter() = default;

VNX30MaxExporter::~VNX30MaxExporter()
{
    if (debugSinkSet_)
        SetDebugOutputSink(std::move(previousDebugSink_));
    if (CurrentExporter() == this)
        CurrentExporter() = nullptr;
}

void VNX30MaxExporter::SetDebugOutput(DebugOutputCallback callback, void* context)
{
    DebugOutputSink sink;
    if (callback)
        sink = [callback, context](std::string_view text) { callback(text.data(), text.size(), context); };
    else
        sink = [](std::string_view) {};
    DebugOutputSink previous = SetDebugOutputSink(std::move(sink));
    if (!debugSinkSet_)
        previousDebugSink_ = std::move(previous);
    debugSinkSet_ = true;
}

int VNX30MaxExporter::DoExport(const char* name, Host* newHost, int suppress, unsigned int options)
{
    ResetRunState(newHost);
    if (!newHost) {
        outcome_.status = ExportStatus::Failed;
        outcome_.detail = "no host";
        return kExportResultException;
    }
    try {
        // The scene's "OptGeom" key is read as the host's exporter always read it, and then
        // replaced by the run's own value (ApplyRunOptions, then the option bits): a dead store
        // kept on purpose, so that a key in the scene never changes an export.
        bool optimize = false;
        if (rootNode && rootNode->GetUserPropBool(kOptionKeyOptimizeGeometry, optimize))
            optimizeGeometry = optimize;
        if (rootNode)
            rootNode->SetUserPropInt(kOptionKeyLodType, lodType);
        ApplyRunOptions();
        if (options & kExportOptionAnimation)
            exportAnimationData = true;
        if (options & kExportOptionOptimizeGeometry)
            optimizeGeometry = true;
        if (rootNode)
            rootNode->SetUserPropBool(kOptionKeySingleGeometry, singleObject);
        suppressPrompts = suppress != 0;

        if (!suppressPrompts) {
            OptionsDialogProc proc(*this);
            const int choice = host->ShowModalDialog(host->GetActiveWindow(), OptionsDialogTemplate(), proc);
            if (choice != kOptionsOkId) {
                outcome_.status = ExportStatus::Cancelled;
                return kExportResultCancelled;
            }
        }
        singleObjectActive = singleObject;

        RunExport(name);
        return kExportResultDone;
    } catch (const std::exception& error) {
        ReportException(error.what());
    } catch (...) {
        ReportException("unknown exception");
    }
    return kExportResultException;
}

void VNX30MaxExporter::ResetRunState(Host* newHost)
{
    // Whatever an earlier run (of any exporter) left behind is not this run's.
    CurrentExporter() = this;
    CurrentSceneContext() = nullptr;
    NodeProgressHook() = nullptr;
    outcome_ = ExportOutcome {};
    writingError_.clear();
    log.Close();
    host = newHost;
    rootNode = newHost ? newHost->GetRootNode() : nullptr;
}

void VNX30MaxExporter::ApplyRunOptions()
{
    static_cast<RunOptions&>(*this) = RunOptions {};
}

void VNX30MaxExporter::ReportException(const char* text)
{
    outcome_.status = ExportStatus::Failed;
    outcome_.detail = text;
    outcome_.targetReplaced = false;
    outcome_.failedNames.clear();
    for (const FixedString& failed : failedNames)
        outcome_.failedNames.emplace_back(failed.c_str());
    WriteLogLine((std::string(kLogRunFailed) + text).c_str());
    WriteLogLine(kLogTargetKept);
    log.Close();
}

} // namespace vx
