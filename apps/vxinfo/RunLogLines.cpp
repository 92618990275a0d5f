#include "vxinfo/RunLogLines.h"

#include <array>
#include <cstdio>
#include <sstream>
#include <string_view>

namespace vxinfo {

namespace {

constexpr std::string_view kFailedHeader = "Failed objects:";
constexpr std::string_view kOneLibraryObject = "The following object can be imported as library object:";
constexpr std::string_view kLibraryObjects = "The following objects can be imported as library object:";
constexpr std::string_view kTemplate = "Template ";
constexpr std::string_view kTemplateBase = " is based on object ";
constexpr std::array<std::string_view, 3> kTargetKept = {"Export was cancelled by user.",
    "The target file was not replaced.", "File is in use by another process."};
// Prefixes of the lines a run writes on its own (messages, reasons) rather than names.
constexpr std::array<std::string_view, 4> kRunLinePrefixes
    = {"Information: ", "Warning: ", "Error: ", "Reason: "};

bool IsTargetKeptLine(std::string_view line)
{
    for (std::string_view kept : kTargetKept)
        if (line == kept)
            return true;
    return false;
}

// The list of library objects has no end mark: it ends at the next line the run writes on its own.
bool EndsLibraryList(std::string_view line)
{
    for (std::string_view prefix : kRunLinePrefixes)
        if (line.substr(0, prefix.size()) == prefix)
            return true;
    return line == kFailedHeader || line == kOneLibraryObject || line == kLibraryObjects
        || line == "No valid objects have been found." || IsTargetKeptLine(line);
}

// Both names of a template line, "T is based on object N", split at every place the phrase occurs
// (the names themselves may hold it).
void AddTemplateNames(std::string_view rest, std::vector<std::string>& names)
{
    for (std::size_t at = rest.find(kTemplateBase); at != std::string_view::npos;
         at = rest.find(kTemplateBase, at + 1)) {
        names.emplace_back(rest.substr(0, at));
        names.emplace_back(rest.substr(at + kTemplateBase.size()));
    }
}

enum class Reading { Lines, OneLibraryName, LibraryNames, FailedNames };

// Reads the lines of a log one by one; what a line means depends on the list it may belong to.
class LogLineReader {
public:
    void Read(const std::string& line)
    {
        if (!ReadListLine(line))
            ReadRunLine(line);
    }

    RunLogLines Finish() { return std::move(found_); }

private:
    // Takes line as a name of the list being read; false when it is no name.
    bool ReadListLine(const std::string& line)
    {
        switch (reading_) {
        case Reading::FailedNames:
            if (!line.empty())
                found_.failedObjects.push_back(line);
            return true;
        case Reading::OneLibraryName:
            found_.objectNames.push_back(line);
            reading_ = Reading::Lines;
            return true;
        case Reading::LibraryNames:
            if (EndsLibraryList(line)) {
                reading_ = Reading::Lines;
                return false;
            }
            found_.objectNames.push_back(line);
            return true;
        case Reading::Lines:
            break;
        }
        return false;
    }

    void ReadRunLine(const std::string& line)
    {
        if (line == kFailedHeader)
            reading_ = Reading::FailedNames;
        else if (line == kOneLibraryObject)
            reading_ = Reading::OneLibraryName;
        else if (line == kLibraryObjects)
            reading_ = Reading::LibraryNames;
        else if (line.rfind(kTemplate, 0) == 0)
            AddTemplateNames(std::string_view(line).substr(kTemplate.size()), found_.objectNames);
        else if (IsTargetKeptLine(line))
            found_.targetKeptLines.push_back(line);
    }

    RunLogLines found_;
    Reading reading_ = Reading::Lines;
};

} // namespace

RunLogLines ReadRunLogLines(const std::string& logText)
{
    LogLineReader reader;
    std::istringstream lines(logText);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        reader.Read(line);
    }
    return reader.Finish();
}

std::string LogNameForm(const std::string& name)
{
    std::string form;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            form += "\\r";
        else if (c == '\n')
            form += "\\n";
        else if (c == '\t')
            form += "\\t";
        else if (byte < 0x20 || byte == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            form += hex;
        } else
            form += c;
    }
    return form;
}

} // namespace vxinfo
