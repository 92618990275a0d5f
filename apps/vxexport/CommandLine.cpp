// vxexport's command line, read with CLI11: each option is declared once, with its help, and the
// option list of --help is generated from the same declarations.
#include "vxexport/CommandLine.h"

#include "vxexport/ImportMemory.h"

#include "memoryhost/UnitName.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

namespace vx {

namespace {

// The options and operands of vxexport declared on a CLI11 app, each option with its help text, and
// the values they are read into.
class Declaration {
public:
    Declaration()
        : app("", "vxexport")
    {
        // --help is an ordinary flag: a fault in the options is reported even with it.
        app.set_help_flag();
        // Unknown options are left to ParseCommandLine, which reports them in vxexport's words.
        app.allow_extras();
        app.add_flag("-y,--yes", line.suppressPrompts,
            "suppress prompts: no options dialog and no message boxes; the\n"
            "scene is exported as a single object and every message goes\n"
            "to the log only (failures are summed up on stderr)");
        app.add_flag(
            "--single-object", singleObject, "answer the options dialog without a prompt: single object");
        app.add_flag("--per-object", perObject,
            "answer the options dialog without a prompt: one library\n"
            "object per top-level instance (not with --yes)");
        app.add_flag("--optimize-geometry", line.optimizeGeometry,
            "before exporting, let nodes whose meshes and materials are\n"
            "equal share one object, so that they are written as one\n"
            "geometry (this changes the scene in memory only)");
        app.add_flag("--animation", line.animation,
            "write the key-frame animation of animated nodes (stored as\n"
            "files named by each instance's \"AnimationData\" property)");
        AddValued("--dump-scene", line.dumpScene, "FILE.json", "--dump-scene needs a FILE",
            "write the loaded scene to FILE.json in the scene file format\n"
            "(images a 3D file embeds go to the folder FILE-images); without\n"
            "TARGET nothing is exported");
        AddValued("--unit", line.unit, "UNIT",
            "--unit needs a UNIT: inches, feet, miles, millimeters, centimeters, meters or kilometers",
            "the unit of OBJ and 3DS files, which state none: inches, feet,\n"
            "miles, millimeters, centimeters, meters (default), kilometers",
            [](const std::string& unit) { return FindUnitTypeByName(unit).has_value(); });
        app.add_flag("--allow-outside-references", line.allowOutsideReferences,
            "read the images and buffers a 3D file names outside its own\n"
            "folder (refused by default: only for files you trust)");
        AddValued("--import-memory", importMemoryText, "SIZE",
            "--import-memory needs a SIZE such as 512M or 4G, or \"unlimited\"",
            "the memory the import of a 3D file may take, such as 512M or\n"
            "4G, or \"unlimited\" (default: half of this machine's memory)",
            [this](const std::string& size) {
                line.importMemory = ParseMemorySize(size);
                return line.importMemory.has_value();
            });
        AddValued("--debug-output", line.debugOutput, "FILE",
            "--debug-output needs a FILE (\"-\" for stderr)",
            "write the developer diagnostics to FILE (\"-\" for stderr)");
        AddValued("--plugins", line.pluginFolder, "DIR", "--plugins needs a DIR",
            "load the exporter plug-ins from DIR (default: the folder of\n"
            "the vxexport program)");
        app.add_flag("--list-exporters", line.listExporters,
            "list the exporters found (description, class name,\n"
            "extension, version) and exit");
        app.add_flag("-q,--quiet", line.quiet,
            "no progress display and no \"Info\" messages; errors and\n"
            "warnings are still printed");
        app.add_flag("-h,--help", line.help, "print this help and exit");
        app.add_flag("--version", line.version, "print the version and exit");
        // SCENE and TARGET: counted and named by ReadOperands; kept out of the option list.
        app.add_option("operands", operands)->expected(0, -1)->group("");
    }

    CLI::App app;
    CommandLine line;
    bool singleObject = false;
    bool perObject = false;
    std::string importMemoryText; // read into line.importMemory by its check
    std::vector<std::string> operands;
    // What a valued option's missing or refused value is reported as, by option name.
    std::map<std::string, std::string> needs;
    // The faults of option values, in the order they were found.
    std::vector<std::string> faults;

private:
    // An option with a value; an empty value, and one that ok refuses, is the fault needsText. The
    // fault is recorded with vxexport's text rather than raised as CLI11's ValidationError, which
    // would word it its own way.
    void AddValued(const std::string& name, std::string& value, const std::string& typeName,
        const std::string& needsText, const std::string& help,
        std::function<bool(const std::string&)> ok = nullptr)
    {
        needs[name] = needsText;
        app.add_option(name, value, help)
            ->type_name(typeName)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
            ->check(CLI::Validator(
                [this, needsText, ok](std::string& text) {
                    if (ok ? !ok(text) : text.empty())
                        faults.push_back(needsText);
                    return std::string();
                },
                ""));
    }
};

// Lays the option list out as vxexport's help has it: "  -y, --yes", "      --plugins DIR", the
// description from the 26th column or, after a long name, on the next line.
class OptionListFormatter : public CLI::Formatter {
public:
    OptionListFormatter() { column_width(25); }
    std::string make_option_name(const CLI::Option* option, bool) const override
    {
        const std::vector<std::string>& shorts = option->get_snames();
        return (shorts.empty() ? "    " : "-" + shorts.front() + ", ") + "--" + option->get_lnames().front();
    }
    std::string make_option_opts(const CLI::Option* option) const override
    {
        return option->get_expected_max() == 0 ? "" : " " + option->get_type_name();
    }
};

// "--name=" for a valued option: CLI11 would take the next argument as its value, so it is passed
// on as an explicit empty value, which the option's check refuses. An argument that is the value of
// the option before it ("--plugins --plugins=") is passed on as it is.
std::vector<std::string> SplitEmptyValues(const CLI::App& app, const std::vector<std::string>& args)
{
    const auto valued = [&app](const std::string& name) {
        const CLI::Option* option = name.rfind("--", 0) == 0 ? app.get_option_no_throw(name) : nullptr;
        return option && option->get_expected_max() != 0;
    };
    std::vector<std::string> split;
    bool optionsEnded = false;
    bool isValue = false;
    for (const std::string& arg : args) {
        const bool isOption = !optionsEnded && !isValue;
        optionsEnded = optionsEnded || (isOption && arg == "--");
        if (isOption && !arg.empty() && arg.back() == '=' && valued(arg.substr(0, arg.size() - 1))) {
            split.push_back(arg.substr(0, arg.size() - 1));
            split.emplace_back();
        } else {
            split.push_back(arg);
        }
        isValue = isOption && valued(arg);
    }
    return split;
}

// The first argument CLI11 did not place (every operand has a place, so an unknown option), or nothing.
std::optional<std::string> FindUnknownOption(const CLI::App& app)
{
    for (const std::string& arg : app.remaining())
        if (arg != "--")
            return arg;
    return std::nullopt;
}

std::optional<std::string> ResolveDialogAnswer(const Declaration& declared, CommandLine& line)
{
    if (declared.singleObject && declared.perObject)
        return "--per-object and --single-object exclude each other";
    if (declared.singleObject)
        line.dialogAnswer = DialogAnswer::SingleObject;
    if (declared.perObject)
        line.dialogAnswer = DialogAnswer::PerObject;
    if (line.suppressPrompts && line.dialogAnswer == DialogAnswer::PerObject)
        return "--per-object cannot be used with --yes: a run without prompts always exports a single "
               "object (use --per-object alone to answer the dialog without a prompt)";
    return std::nullopt;
}

std::optional<std::string> ReadOperands(const std::vector<std::string>& operands, CommandLine& line)
{
    if (operands.size() == 1 && !line.dumpScene.empty()) {
        if (operands[0].empty())
            return "SCENE must not be empty";
        line.scene = operands[0];
        return std::nullopt;
    }
    if (operands.size() < 2)
        return operands.empty() ? "missing SCENE and TARGET" : "missing TARGET";
    if (operands.size() > 2)
        return "unexpected argument '" + operands[2] + "'";
    if (operands[0].empty() || operands[1].empty())
        return "SCENE and TARGET must not be empty";
    line.scene = operands[0];
    line.target = operands[1];
    return std::nullopt;
}

} // namespace

CommandLineParse ParseCommandLine(const std::vector<std::string>& args)
{
    Declaration declared;
    std::vector<std::string> reversed = SplitEmptyValues(declared.app, args);
    std::reverse(reversed.begin(), reversed.end());
    std::string fault;
    try {
        declared.app.parse(reversed);
    } catch (const CLI::ArgumentMismatch& mismatch) {
        // A valued option as the last argument: its value is missing.
        const auto needs = declared.needs.find(args.back());
        fault = needs != declared.needs.end() ? needs->second : mismatch.what();
    } catch (const CLI::ParseError& error) {
        fault = error.what();
    }

    CommandLineParse parse;
    parse.line = declared.line;
    if (const std::optional<std::string> unknown = FindUnknownOption(declared.app))
        parse.error = "unknown option '" + *unknown + "'";
    else if (!fault.empty())
        parse.error = fault;
    else if (!declared.faults.empty())
        parse.error = declared.faults.front();
    if (!parse.error.empty() || parse.line.help || parse.line.version || parse.line.listExporters)
        return parse;
    if (auto error = ResolveDialogAnswer(declared, parse.line))
        parse.error = *error;
    else if (auto error = ReadOperands(declared.operands, parse.line))
        parse.error = *error;
    return parse;
}

std::string FormatOptionList()
{
    const Declaration declared;
    const OptionListFormatter formatter;
    std::string list;
    for (const CLI::Option* option : declared.app.get_options())
        if (!option->get_positional())
            list += formatter.make_option(option, false);
    return list;
}

} // namespace vx
