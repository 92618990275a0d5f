#pragma once
// Where the export's converters and writers report to the run: the log, the list of objects that
// could not be converted, and the progress bar with its cancel button. The run implements it;
// lower layers take it by reference instead of reaching for the run.

namespace vx {

class RunReport {
public:
    virtual ~RunReport() = default;
    // Writes text as one line of the run's log (nothing when the log is not open).
    virtual void WriteLogLine(const char* text) = 0;
    // Records an object that could not be converted or written, by its name.
    virtual void AddFailedObject(const char* name) = 0;
    // Steps the progress bar once; true when the user asked to cancel.
    virtual bool StepProgressAndCheckCancel() = 0;
};

} // namespace vx
