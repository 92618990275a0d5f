#pragma once
// The state of an export run that the conversion reads and adds to: the run's options, the host,
// the progress counters, the failure list and the log. The exporter object is this state (it
// derives from it); the converters reach it through CurrentExporter() without knowing the
// exporter itself.

#include "base/Array.h"
#include "base/DFile.h"
#include "base/FixedString.h"
#include "base/RunReport.h"
#include "design/NoName.h"
#include "host/HostTypes.h"

#include <cstdint>
#include <string>

namespace vx {

class Host;
class HostNode;

// Animation export settings, reset before every node by the animation export.
struct AnimationSettings {
    HostTime evaluationTime = 0;
    int32_t sampleStepFrames = 5;
    bool forceSampling = false;
    bool decomposeTransforms = false;
};

// The options every run sets anew before anything reads them (DoExport, through
// ApplyRunOptions, then the dialog and the option bits). The values here are those each run
// starts from, stated once.
struct RunOptions {
    bool optimizeGeometry = false;
    bool singleObject = true;
    bool exportAnimationData = false;
    bool writeRootInstance = true;
    bool keepMissingTextures = true;
    bool textureNamesWithExtension = false;
    int32_t lodType = 2;
    bool shareEqualData = true;
    float opacityCutoff = 0.949f;
};

class ExportRunState : public RunReport, public RunOptions {
public:
    ExportRunState() = default;
    ~ExportRunState() override = default;
    ExportRunState(const ExportRunState&) = delete;
    ExportRunState& operator=(const ExportRunState&) = delete;

    // Adds one to progressCount and reports the progress percentage to the host.
    void StepProgress();
    // Reports the progress percentage of progressCount / progressTotal to the host.
    void ReportProgress();
    // Records an object that could not be converted: its name ("- no name -" when empty or null),
    // cut to 255 bytes, appended to failedNames; failedCount grows by one.
    void AddFailedObject(const char* name) override;
    // Writes text as one line ending in CR LF to the log when it is open; otherwise nothing. Control
    // characters in text are written out ("\\r", "\\n", "\\t", "\\xNN"): a line is always one line.
    void WriteLogLine(const char* text) override;
    // StepProgress, then whether the host reports that the user cancelled (false without a host).
    bool StepProgressAndCheckCancel() override;
    // Shows text in a message box captioned caption, owned by the host's main window, unless
    // prompts are suppressed or there is no host.
    void ShowMessage(const char* text, const char* caption);

    // The run's state besides its options (RunOptions). DoExport sets every one of them before
    // anything reads it.
    bool suppressPrompts = false;
    // The mode the conversion reads: singleObject as the dialog left it.
    bool singleObjectActive = true;
    Host* host = nullptr;
    int32_t progressTotal = 0;
    int32_t progressCount = 0;
    AnimationSettings animationSettings;
    int32_t failedCount = 0;
    Array<FixedString> failedNames;
    DFile log;
    HostNode* rootNode = nullptr;

    // The log's path ("<target>.log") of the current or last run; empty before the first.
    std::string logFileName;
};

// The process-wide current exporter: set by DoExport (and by the options dialog), cleared when
// that exporter is destroyed. Null outside a run of any exporter.
ExportRunState*& CurrentExporter();

// The progress percentage: the integer part of 100 x count / total computed in floating point,
// clamped to 0..100. A total of 0 or below gives 0.
int ProgressPercent(int32_t count, int32_t total);

} // namespace vx
