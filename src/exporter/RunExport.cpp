#include "exporter/VNX30MaxExporter.h"

#include "exporter/DesignRoot.h"
#include "exporter/ExportTexts.h"
#include "exporter/ExportTree.h"
#include "exporter/ModuleManager.h"
#include "exporter/TargetReplacement.h"
#include "run/NodeProgressHook.h"
#include "run/RunPhaseHook.h"
#include "run/SceneContext.h"

#include "database/DesignDatabase.h"
#include "scene/passes/RemovePassKeys.h"

#include "base/FixedString.h"
#include "host/Host.h"
#include "toolkit/VMMessages.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace vx {

namespace {

void CountNodeProgress()
{
    if (ExportRunState* exporter = CurrentExporter())
        exporter->StepProgress();
}

// What a run holds while it works. Whichever way the run leaves, the destructor ends the progress
// bar, abandons an open database, removes the temporary file and retires the scene context.
struct RunResources {
    explicit RunResources(Host& host)
        : host(host)
    {
    }
    RunResources(const RunResources&) = delete;
    RunResources& operator=(const RunResources&) = delete;

    ~RunResources()
    {
        if (progressStarted)
            host.ProgressEnd();
        if (databaseOpen) {
            // The file is removed below, so whatever closing it achieves does not matter.
            const DatabaseCloseResult ignored = CloseDesignDatabase();
            static_cast<void>(ignored);
        }
        temporary.reset();
        if (CurrentSceneContext() == context.get())
            CurrentSceneContext() = nullptr;
    }

    Host& host;
    std::unique_ptr<SceneContext> context;
    std::optional<TemporaryTarget> temporary;
    bool databaseOpen = false;
    bool progressStarted = false;
};

// The conversion's messages go to the run's log while the run lasts; their counts end up in the
// outcome however the run leaves.
struct RunMessages {
    RunMessages(ExportRunState& run, ExportOutcome& outcome)
        : outcome(outcome)
        , sink([&run](VMMessageKind kind, std::string_view text) {
            run.WriteLogLine((MessagePrefix(kind) + std::string(text)).c_str());
        })
    {
        ResetMessageCounts();
    }
    RunMessages(const RunMessages&) = delete;
    RunMessages& operator=(const RunMessages&) = delete;
    ~RunMessages()
    {
        const VMMessageCounts counts = GetMessageCounts();
        outcome.warningCount = counts.warnings;
        outcome.errorCount = counts.errors;
    }

    ExportOutcome& outcome;
    ScopedMessageSink sink;
};

// Removes the composite-identifier keys from the scene when the run leaves.
struct PassKeySweep {
    HostNode* root;
    ~PassKeySweep() { RemovePassKeys(root); }
};

} // namespace

void VNX30MaxExporter::RunExport(const char* name)
{
    if (!host)
        throw std::logic_error("export run without a host");
    MarkRunPhase(RunPhase::Started);
    RunMessages messages(*this, outcome_);
    const std::string target = name ? name : "";
    const HostUnitInfo unit = host->GetMasterUnitInfo();

    RunResources run(*host);
    run.context = std::make_unique<SceneContext>();
    CurrentSceneContext() = run.context.get();
    run.context->SetUnitScale(unit.type);

    ModuleManager modules;
    AddRunPasses(modules, host, rootNode);
    modules.Run(modules.RunEnableBits(optimizeGeometry));
    MarkRunPhase(RunPhase::ScenePassesRun);
    // The node factory drops the pass keys of the nodes it converts; this drops the rest, however
    // the run ends, so the scene is left without them.
    const PassKeySweep sweep {rootNode};

    OpenLog(target);
    if (const std::string reason = WhyTargetIsInUse(target); !reason.empty()) {
        ReportTargetInUse(reason);
        return;
    }

    NodeProgressHook() = &CountNodeProgress;
    ExportTree tree = BuildExportTree(rootNode);
    MarkRunPhase(RunPhase::TreeBuilt);

    run.temporary.emplace(target);
    OpenDesignDatabase(run.temporary->Path());
    run.databaseOpen = true;
    MarkRunPhase(RunPhase::DatabaseOpened);

    const std::string designName = DesignNameOf(target);
    ZR::CompositeObject* designRoot = CreateDesignRoot(run.context->design, designName.c_str(), lodType);

    host->ProgressStart(kTitleCollecting);
    run.progressStarted = true;
    progressTotal = 0;
    progressCount = 0;
    failedCount = 0;
    failedNames.Clear();

    WriteRunSettings(run.context->scaleFactor);
    progressTotal = tree.CountNodes();

    const bool objectsFound = ConvertScene(designRoot, tree);

    run.databaseOpen = false;
    const DatabaseCloseResult closed = CloseDesignDatabase();
    MarkRunPhase(RunPhase::Committed);

    const bool cancelled = host->GetCancel();
    if (cancelled)
        WriteLogLine(kTextCancelled);

    tree.Release();
    MarkRunPhase(RunPhase::Released);
    run.progressStarted = false;
    host->ProgressEnd();

    if (!closed.Succeeded()) {
        ReportCommitFailure(closed.reason);
        return;
    }
    // A run that exports nothing keeps what the target held: an empty design is no replacement.
    if (cancelled || !writingError_.empty() || !objectsFound) {
        if (!writingError_.empty())
            WriteLogLine((std::string(kLogRunFailed) + writingError_).c_str());
        WriteLogLine(kLogTargetKept);
    } else if (!run.temporary->MoveIntoPlace()) {
        ReportTargetInUse(run.temporary->Failure());
        return;
    } else {
        outcome_.targetReplaced = true;
    }
    ReportOutcome(objectsFound, cancelled);
}

void VNX30MaxExporter::OpenLog(const std::string& targetPath)
{
    logFileName.clear();
    log.Close();
    if (targetPath.empty())
        return;
    logFileName = targetPath + ".log";
    if (log.CreateNew(logFileName.c_str(), true))
        outcome_.logPath = logFileName;
}

void VNX30MaxExporter::WriteRunSettings(float scaleFactor)
{
    const FixedString factor = FixedString::Formatted("%#g", static_cast<double>(scaleFactor));
    WriteLogLine((std::string(kLogScalingFactor) + factor.c_str()).c_str());
    WriteLogLine((std::string(kLogSingleObject) + (singleObject ? "yes" : "no")).c_str());
}

void VNX30MaxExporter::ReportTargetInUse(const std::string& reason)
{
    if (suppressPrompts)
        WriteLogLine(kTextFileInUse);
    else
        ShowMessage(kTextFileInUse, kCaptionError);
    // The box keeps its text; the log and the outcome say what the system found.
    if (!reason.empty())
        WriteLogLine((std::string(kLogReason) + reason).c_str());
    outcome_.detail = reason;
    outcome_.status = ExportStatus::TargetInUse;
    log.Close();
}

void VNX30MaxExporter::ReportCommitFailure(const std::string& reason)
{
    WriteLogLine(kLogCommitFailed);
    if (!reason.empty())
        WriteLogLine((std::string(kLogReason) + reason).c_str());
    WriteLogLine(kLogTargetKept);
    ShowMessage(kTextCommitFailed, kCaptionError);
    outcome_.status = ExportStatus::Failed;
    outcome_.detail = "the design database could not be committed" + (reason.empty() ? "" : ": " + reason);
    for (const FixedString& failed : failedNames)
        outcome_.failedNames.emplace_back(failed.c_str());
    failedNames.Clear();
    failedCount = 0;
    log.Close();
}

void VNX30MaxExporter::ReportOutcome(bool objectsFound, bool cancelled)
{
    for (const FixedString& failed : failedNames)
        outcome_.failedNames.emplace_back(failed.c_str());
    if (!writingError_.empty() && !cancelled) {
        ReportRunFailure();
        return;
    }

    if (!objectsFound) {
        if (suppressPrompts)
            WriteLogLine(kTextNoValidObjects);
        else
            ShowMessage(kTextNoValidObjects, kCaptionError);
        log.Close();
        outcome_.status = ExportStatus::NoValidObjects;
    } else if (failedCount > 0) {
        const std::string count = std::to_string(failedCount);
        if (log.IsOpen()) {
            WriteLogLine(kTextFailedObjects);
            for (const FixedString& failed : failedNames)
                WriteLogLine(failed.c_str());
            ShowMessage((count + kTextObjectsFailedLogged + logFileName).c_str(), kCaptionWarning);
            log.Close();
        } else {
            ShowMessage((count + kTextObjectsFailed).c_str(), kCaptionWarning);
        }
        outcome_.status = ExportStatus::FinishedWithFailures;
    } else {
        outcome_.status = ExportStatus::Succeeded;
    }
    failedNames.Clear();
    failedCount = 0;

    if (log.IsOpen()) {
        log.Close();
        ShowMessage((std::string(kTextDone) + logFileName).c_str(), kCaptionInfo);
    }
    if (cancelled)
        outcome_.status = ExportStatus::Cancelled;
}

void VNX30MaxExporter::ReportRunFailure()
{
    // A failed run says so, and never that it is done.
    outcome_.status = ExportStatus::Failed;
    outcome_.detail = writingError_;
    failedNames.Clear();
    failedCount = 0;
    log.Close();
    ShowMessage((std::string(kTextRunFailed) + writingError_ + kTextTargetKept).c_str(), kCaptionError);
}

} // namespace vx
