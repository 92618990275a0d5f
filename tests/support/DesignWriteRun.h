#pragma once
// A run for the design writers' tests: it owns the options and tables the writers take, and records
// what they report (log lines, failed objects, progress steps), with a cancel from a given step on.

#include "database/DesignWrite.h"

#include <string>
#include <vector>

namespace vxtest {

class RecordingReport final : public vx::RunReport {
public:
    void WriteLogLine(const char* text) override { logLines.emplace_back(text ? text : ""); }
    void AddFailedObject(const char* name) override { failedObjects.emplace_back(name ? name : ""); }
    bool StepProgressAndCheckCancel() override
    {
        ++progressSteps;
        return cancelFromStep > 0 && progressSteps >= cancelFromStep;
    }

    std::vector<std::string> logLines;
    std::vector<std::string> failedObjects;
    int progressSteps = 0;
    // The progress step from which on the user has cancelled; 0 for never.
    int cancelFromStep = 0;
};

struct DesignWriteRun {
    explicit DesignWriteRun(vx::SqlWriter& sql)
        : write {sql, options, report, tables, rejectedBoxes, texturePlaces}
    {
    }
    DesignWriteRun(const DesignWriteRun&) = delete;
    DesignWriteRun& operator=(const DesignWriteRun&) = delete;

    vx::DesignWriteOptions options;
    RecordingReport report;
    vx::DesignWriteTables tables;
    vx::RejectedBoxes rejectedBoxes;
    vx::TextureSearchPlaces texturePlaces;
    vx::DesignWrite write;
};

} // namespace vxtest
