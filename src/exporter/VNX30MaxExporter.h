#pragma once
// VNX30MaxExporter: the exporter object the host creates. Each DoExport call is one export run:
// it sets the run's options, asks the user for "Export as single object" (unless prompts are
// suppressed), converts the host scene into a design and writes it as a design database at the
// target path, with a text log beside it ("<target>.log").
//
// The database is written to a temporary file in the target's folder and moved into place only
// when the run completed its writing and the database was committed and stamped; on every other
// path the previous target is left as it was. LastOutcome tells a front end how the run ended.
//
// One run at a time per process: while a run is in progress CurrentExporter() designates the
// running exporter, and the conversion reads the options and counters below through it.

#include "exporter/ExportReportView.h"
#include "host/ExportOutcome.h"
#include "run/ExportRunState.h"

#include "base/Array.h"
#include "base/DFile.h"
#include "base/DebugOutput.h"
#include "base/FixedString.h"
#include "host/HostTypes.h"
#include "host/PluginInterface.h"

#include <cstdint>
#include <string>

namespace ZR {
struct CompositeObject;
}

namespace vx {

class Host;
class HostNode;
class ExportTree;

// The maker's one-line notice (the exporter's copyright message).
constexpr const char* kExporterNotice = "Varnex Exporter for the modelling host, by the Varnex team.";

class VNX30MaxExporter : public ExportRunState, public SceneExport {
public:
    // A new exporter: single-object mode on, optimiser off, log closed, no run yet (LastOutcome is
    // NotRun). lodType starts at 2, the value every run sets, so the first run writes "LodType" 2.
    VNX30MaxExporter();
    // Closes the log when it is still open. If this exporter is the current one, it stops being so.
    ~VNX30MaxExporter();
    VNX30MaxExporter(const VNX30MaxExporter&) = delete;
    VNX30MaxExporter& operator=(const VNX30MaxExporter&) = delete;

    // Identity, as the host asks for it: one extension, "vx" (Ext gives "" for any other index),
    // "Varnex Exporter", "Varnex File", version 100; every extension and option is supported.
    // DeleteThis deletes an exporter made with new (through the class descriptor).
    void DeleteThis() override;
    int ExtCount() override;
    const char* Ext(int n) override;
    const char* LongDesc() override;
    const char* ShortDesc() override;
    const char* AuthorName() override;
    const char* CopyrightMessage() override;
    const char* OtherMessage1() override;
    const char* OtherMessage2() override;
    unsigned int Version() override;
    void ShowAbout(void* window) override;
    int SupportsOptions(int ext, unsigned int options) override;

    // Exports the scene of host to the design database at name (a narrow, UTF-8 path; null counts
    // as empty). With suppressPrompts no dialog and no message box is shown and the run exports as
    // a single object; every message then goes to the log only.
    // Returns kExportResultDone when the run went through, whatever it reported (target in use, no
    // valid objects, failed objects, cancellation in the progress bar, a failed commit);
    // kExportResultCancelled when the options dialog ended with anything but OK (the root node's
    // "LodType" and "SingleGeometry" are written already; no log, no database);
    // kExportResultException when an exception left the run (the previous target stays).
    // A null host does nothing and returns kExportResultException (outcome Failed). An empty path
    // cannot be replaced: it is reported as in use, without a log.
    // LastOutcome() holds the details afterwards.
    // options: kExportOptionAnimation sets exportAnimationData and kExportOptionOptimizeGeometry
    // sets optimizeGeometry for this run, after the run's options were applied.
    int DoExport(const char* name, Host* host, int suppressPrompts, unsigned int options = 0) override;

    // How the last DoExport call ended; NotRun before the first. Reset at the start of every call.
    const ExportOutcome& LastOutcome() const { return outcome_; }
    // The same, as a view that can cross the plug-in boundary.
    const ExportReport* GetLastReport() const override { return &reportView_; }

    // Routes the debugger output of this exporter's code to callback (null drops it) until the
    // exporter is destroyed or the call is repeated; the previous sink comes back then.
    void SetDebugOutput(DebugOutputCallback callback, void* context) override;

    // The run proper, called by DoExport inside its exception handler once the options are set:
    // everything it reports goes to the log, the message boxes and LastOutcome. Exceptions pass
    // through (DoExport catches them); the temporary database is removed on that path too.
    // Throws std::logic_error when no host is set.
    void RunExport(const char* name);

    // The conversion and writing phase of a run with an open design database: converts tree into
    // the design under designRoot and writes the root record and the design. Returns true when
    // objects were found (also when the user cancelled before writing), false when nothing could
    // be written or an exception ended the writing (the exception text is then kept for the log).
    bool ConvertScene(ZR::CompositeObject* designRoot, ExportTree& tree);

private:
    void ResetRunState(Host* newHost);
    void ApplyRunOptions();
    void OpenLog(const std::string& targetPath);
    void WriteRunSettings(float scaleFactor);
    // Reports a target that cannot be replaced, with the system's reason (may be empty).
    void ReportTargetInUse(const std::string& reason);
    // Reports a failed commit with the database's reason (may be empty).
    void ReportCommitFailure(const std::string& reason);
    void ReportOutcome(bool objectsFound, bool cancelled);
    // The end of a run whose writing failed (writingError_): the Failed outcome with the reason,
    // the log closed, an Error box naming the reason.
    void ReportRunFailure();
    void ReportException(const char* text);

    ExportOutcome outcome_;
    ExportReportView reportView_ {outcome_};
    bool debugSinkSet_ = false;
    DebugOutputSink previousDebugSink_;
    // Set by ConvertScene when an exception ended its writing step.
    std::string writingError_;
};

} // namespace vx
