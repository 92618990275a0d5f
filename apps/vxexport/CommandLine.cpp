#include "vxexport/CommandLine.h"

#include "vxexport/ImportMemory.h"

#include "memoryhost/UnitName.h"

#include <optional>

namespace vx {

namespace {

constexpr const char* kDebugOutputOption = "--debug-output";
constexpr const char* kPluginsOption = "--plugins";
constexpr const char* kDumpSceneOption = "--dump-scene";
constexpr const char* kUnitOption = "--unit";
constexpr const char* kImportMemoryOption = "--import-memory";

// The value of a valued option given as "name=value" or as "name value" (the next argument, which
// i then moves past). nullopt when arg is not that option; missing is set when it has no value.
std::optional<std::string> TakeOptionValue(
    const std::string& name, const std::vector<std::string>& args, size_t& i, bool& missing)
{
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            missing = true;
            return std::string();
        }
        return args[++i];
    }
    if (arg.rfind(name + "=", 0) == 0)
        return arg.substr(name.size() + 1);
    return std::nullopt;
}

// Applies one flag option; false when name is no flag of the command.
bool ApplyFlag(const std::string& name, CommandLine& line, std::vector<DialogAnswer>& answers)
{
    if (name == "--help" || name == "-h")
        line.help = true;
    else if (name == "--version")
        line.version = true;
    else if (name == "--yes" || name == "-y")
        line.suppressPrompts = true;
    else if (name == "--list-exporters")
        line.listExporters = true;
    else if (name == "--quiet" || name == "-q")
        line.quiet = true;
    else if (name == "--optimize-geometry")
        line.optimizeGeometry = true;
    else if (name == "--animation")
        line.animation = true;
    else if (name == "--allow-outside-references")
        line.allowOutsideReferences = true;
    else if (name == "--single-object")
        answers.push_back(DialogAnswer::SingleObject);
    else if (name == "--per-object")
        answers.push_back(DialogAnswer::PerObject);
    else
        return false;
    return true;
}

// The dialog answer of the given options, or an error text.
std::optional<std::string> ResolveDialogAnswer(const std::vector<DialogAnswer>& answers, CommandLine& line)
{
    for (DialogAnswer answer : answers) {
        if (line.dialogAnswer != DialogAnswer::Ask && line.dialogAnswer != answer)
            return "--per-object and --single-object exclude each other";
        line.dialogAnswer = answer;
    }
    if (line.suppressPrompts && line.dialogAnswer == DialogAnswer::PerObject)
        return "--per-object cannot be used with --yes: a run without prompts always exports a single "
               "object (use --per-object alone to answer the dialog without a prompt)";
    return std::nullopt;
}

std::optional<std::string> CheckPositionals(const std::vector<std::string>& positionals, CommandLine& line)
{
    if (positionals.size() == 1 && !line.dumpScene.empty()) {
        if (positionals[0].empty())
            return "SCENE must not be empty";
        line.scene = positionals[0];
        return std::nullopt;
    }
    if (positionals.size() < 2)
        return positionals.empty() ? "missing SCENE and TARGET" : "missing TARGET";
    if (positionals.size() > 2)
        return "unexpected argument '" + positionals[2] + "'";
    if (positionals[0].empty() || positionals[1].empty())
        return "SCENE and TARGET must not be empty";
    line.scene = positionals[0];
    line.target = positionals[1];
    return std::nullopt;
}

} // namespace

CommandLineParse ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLineParse parse;
    CommandLine& line = parse.line;
    std::vector<DialogAnswer> answers;
    std::vector<std::string> positionals;
    bool optionsEnded = false;
    bool hasDebugOutput = false;
    bool missingValue = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positionals.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (auto value = TakeOptionValue(kDebugOutputOption, args, i, missingValue)) {
            if (missingValue) {
                parse.error = "--debug-output needs a FILE (\"-\" for stderr)";
                return parse;
            }
            line.debugOutput = *value;
            hasDebugOutput = true;
        } else if (auto folder = TakeOptionValue(kPluginsOption, args, i, missingValue)) {
            if (missingValue || folder->empty()) {
                parse.error = "--plugins needs a DIR";
                return parse;
            }
            line.pluginFolder = *folder;
        } else if (auto dump = TakeOptionValue(kDumpSceneOption, args, i, missingValue)) {
            if (missingValue || dump->empty()) {
                parse.error = "--dump-scene needs a FILE";
                return parse;
            }
            line.dumpScene = *dump;
        } else if (auto unit = TakeOptionValue(kUnitOption, args, i, missingValue)) {
            if (missingValue || !FindUnitTypeByName(*unit)) {
                parse.error = "--unit needs a UNIT: inches, feet, miles, millimeters, centimeters, meters or "
                              "kilometers";
                return parse;
            }
            line.unit = *unit;
        } else if (auto size = TakeOptionValue(kImportMemoryOption, args, i, missingValue)) {
            line.importMemory = ParseMemorySize(*size);
            if (missingValue || !line.importMemory) {
                parse.error = "--import-memory needs a SIZE such as 512M or 4G, or \"unlimited\"";
                return parse;
            }
        } else if (!ApplyFlag(arg, line, answers)) {
            parse.error = "unknown option '" + arg + "'";
            return parse;
        }
    }
    if (hasDebugOutput && line.debugOutput.empty()) {
        parse.error = "--debug-output needs a FILE (\"-\" for stderr)";
        return parse;
    }
    if (line.help || line.version || line.listExporters)
        return parse;
    if (auto error = ResolveDialogAnswer(answers, line)) {
        parse.error = *error;
        return parse;
    }
    if (auto error = CheckPositionals(positionals, line))
        parse.error = *error;
    return parse;
}

} // namespace vx
