#pragma once
// What an export log says about its run: the objects it names as part of the design it wrote, the
// failed objects, and the lines that say the run left the target file as it was.

#include <string>
#include <vector>

namespace vxinfo {

struct RunLogLines {
    // The names of the objects the log says its run wrote: library objects, and both names of each
    // template line ("Template T is based on object N", split at every place the phrase occurs).
    std::vector<std::string> objectNames;
    // The names after "Failed objects:".
    std::vector<std::string> failedObjects;
    // Lines (outside the lists of names) that only a run which kept the previous target writes:
    // "Export was cancelled by user.", "The target file was not replaced.", "File is in use by
    // another process.".
    std::vector<std::string> targetKeptLines;
};

// Reads a log text (CR LF or LF lines). Names are as the log writes them (control characters
// written out, see LogNameForm).
RunLogLines ReadRunLogLines(const std::string& logText);

// A name as the log writes it: CR, LF and tab as "\r", "\n", "\t", other control characters as
// "\xNN", so that every name is one line.
std::string LogNameForm(const std::string& name);

} // namespace vxinfo
