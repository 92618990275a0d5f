// vxinfo's command line, read with CLI11: each command and option is declared once, with its help,
// and HelpText lays the help out from the same declarations.
#include "vxinfo/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

namespace vxinfo {

namespace {

struct CommandInfo {
    const char* name;
    Command command;
    std::size_t operands;
    const char* operandNames;
    const char* summary; // its line in the overview
    const char* details; // its own help
};

constexpr CommandInfo COMMANDS[] = {
    {"summary", Command::Summary, 1, "FILE.vx", "counts, version, failed objects, root box and camera",
        "Prints the version identifier and stamp, the counts of composite objects, instances,\n"
        "geometries, triangles, buffer files, textures, properties and groups, the failed objects\n"
        "of the export log beside the file (FILE.vx.log), and the root record's box and camera.\n"
        "A log that cannot be the log of the run that wrote the file (a later run kept the file;\n"
        "the log was created or last written after the file was finished; it names only objects\n"
        "the file does not hold) is not read for failed objects: the summary says why instead.\n"
        "Only the last 1 MiB of the log is read.\n"},
    {"tree", Command::Tree, 1, "FILE.vx", "the instance tree with placements and properties",
        "Prints the instance tree from the root record: for each instance its name, the object it\n"
        "places, its position and angles, and its properties.\n"},
    {"check", Command::Check, 1, "FILE.vx", "structural check; exit code 1 when something is wrong",
        "Checks the file against the format's structural rules (SQLite integrity, tables and seed\n"
        "rows, identifiers, references, model descriptions and buffer files, finite values,\n"
        "reachability from the root). Prints one line per finding.\n"
        "Exit code 0 when the file is sound, 1 when there are findings.\n"},
    {"gltf", Command::Gltf, 2, "FILE.vx OUT.glb", "the design as glTF 2.0 binary",
        "Writes the design as a glTF 2.0 binary: instances as nodes, geometries as shared meshes,\n"
        "material colours, and the stored PNG and JPEG textures embedded.\n"},
    {"mesh", Command::Mesh, 2, "FILE.vx OUT.obj", "the placed triangles as Wavefront OBJ",
        "Writes every placed triangle of the design in the root's frame (metres, x y z with z up)\n"
        "as Wavefront OBJ: one group per instance path, with positions, normals and faces.\n"},
    {"preview", Command::Preview, 2, "FILE.vx OUT.png", "a shaded picture (--view iso|front|top)",
        "Renders the design orthographically and writes it as PNG (software rendering). Faces are\n"
        "shaded by a fixed light from above, front and left, and show their material's texture or\n"
        "colour.\n"},
};

const char* const OVERVIEW = "Inspects a design database without the reading application.";

const char* const EXIT_CODES
    = "Exit codes: 0 done, 1 check found faults, 2 bad command line, 3 the file cannot be read\n"
      "or the output cannot be written.\n";

bool ReadCount(const std::string& text, int low, int high, int& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool ReadSize(const std::string& text, int& width, int& height)
{
    const std::size_t x = text.find('x');
    return x != std::string::npos && ReadCount(text.substr(0, x), 16, 8192, width)
        && ReadCount(text.substr(x + 1), 16, 8192, height);
}

// An option given to a command it does not belong to, or without its value.
std::string Misplaced(const std::string& name, const std::string& owner)
{
    return name + " needs a value and belongs to " + owner;
}

// Lays the help out: the usage line, the command's text, its operands or the command list, the
// options ("  --depth N", description from the 26th column).
class HelpFormatter : public CLI::Formatter {
public:
    HelpFormatter() { column_width(25); }

    std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const override
    {
        const bool overview = app->get_parent() == nullptr;
        const CLI::Option* operands = overview ? nullptr : app->get_option("operands");
        std::string text = "Usage: vxinfo "
            + (overview ? "COMMAND FILE.vx" : app->get_name() + " " + operands->get_type_name())
            + " [options]\n" + (overview ? app->get_description() + " Commands:\n" : app->get_footer());
        if (overview)
            for (const CLI::App* command : app->get_subcommands({}))
                text += make_subcommand(command);
        text += "Options:\n";
        for (const CLI::Option* option : app->get_options())
            if (!option->get_positional())
                text += make_option(option, false);
        return text + (overview ? app->get_footer() : "");
    }
    std::string make_subcommand(const CLI::App* command) const override
    {
        std::string line
            = "  " + command->get_name() + " " + command->get_option("operands")->get_type_name();
        line.resize(std::max<std::size_t>(line.size() + 1, 29), ' ');
        return line + command->get_description() + "\n";
    }
    std::string make_option_name(const CLI::Option* option, bool) const override
    {
        std::string names = option->get_name(false, true);
        for (std::size_t comma = names.find(','); comma != std::string::npos; comma = names.find(',', comma))
            names.insert(++comma, " ");
        return names;
    }
    std::string make_option_opts(const CLI::Option* option) const override
    {
        return option->get_expected_max() == 0 ? "" : " " + option->get_type_name();
    }
};

// vxinfo's commands, their operands and options declared on a CLI11 app, each option with its help
// text, and the values they are read into.
class Declaration {
public:
    Declaration()
        : app(OVERVIEW, "vxinfo")
    {
        app.formatter(std::make_shared<HelpFormatter>());
        app.footer(EXIT_CODES);
        // --help is an ordinary flag: the faults of the line are still found (RunCommand prints the
        // help in their place).
        app.set_help_flag();
        // Unknown options and commands are reported in vxinfo's words (ReadFaults).
        app.allow_extras();
        // Options a command does not know are looked for on the top level, so that they are all
        // found in app.remaining(), in their order.
        app.fallthrough();
        // One command; its operands may have the names of commands.
        app.require_subcommand(0, 1);
        app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        AddCommonOptions(app, "print the help (with a command: its help)");
        for (const CommandInfo& info : COMMANDS) {
            CLI::App* command = app.add_subcommand(info.name, info.summary);
            command->footer(info.details);
            if (info.command == Command::Tree)
                AddChecked(*command, "--depth", "N",
                    "show N levels below the root; deeper levels are shown as '...'",
                    [this](const std::string& value) {
                        return ReadCount(value, 0, 1000000, line.depth)
                            ? ""
                            : "--depth needs a whole number of levels, not '" + value + "'";
                    });
            if (info.command == Command::Preview) {
                AddChecked(*command, "--view", "iso|front|top",
                    "iso (the default) looks down from the front-left, front looks\n"
                    "along +y, top looks down",
                    [this](const std::string& value) {
                        const std::optional<PreviewView> view = PreviewViewNamed(value);
                        if (view)
                            line.view = *view;
                        return view ? "" : "--view needs iso, front or top, not '" + value + "'";
                    });
                AddChecked(*command, "--size", "WIDTHxHEIGHT",
                    "the picture's size in pixels (default: 800x600)", [this](const std::string& value) {
                        return ReadSize(value, line.width, line.height)
                            ? ""
                            : "--size needs WIDTHxHEIGHT between 16 and 8192, not '" + value + "'";
                    });
            }
            AddCommonOptions(*command, "print this help");
            // The operands, counted by ParseCommandLine. Expecting at least their number keeps a
            // "--" before them in the command (where it ends the options); CLI11 would otherwise end
            // the command there.
            command->add_option("operands", line.files)
                ->expected(static_cast<int>(info.operands), -1)
                ->type_name(info.operandNames)
                ->group("");
        }
    }

    CLI::App app;
    CommandLine line;
    // The faults of option values, in the order they were found.
    std::vector<std::string> faults;
    // The command each command option belongs to, by option name.
    std::vector<std::pair<std::string, std::string>> owners;

private:
    void AddCommonOptions(CLI::App& to, const std::string& help)
    {
        to.add_flag("--json", line.json, "print one JSON document instead of text");
        to.add_flag("-h,--help", line.help, help);
    }

    // A command's option with a value that read checks (and stores); a refused value is the fault
    // read returns, recorded with vxinfo's text rather than raised as CLI11's ValidationError.
    void AddChecked(CLI::App& command, const std::string& name, const std::string& typeName,
        const std::string& help, std::function<std::string(const std::string&)> read)
    {
        owners.emplace_back(name, command.get_name());
        command.add_option(name, ignored, help)
            ->type_name(typeName)
            ->check(CLI::Validator(
                [this, read](std::string& value) {
                    const std::string fault = read(value);
                    if (!fault.empty())
                        faults.push_back(fault);
                    return std::string();
                },
                ""));
    }

    std::string ignored;
};

// The first fault of the line: an argument CLI11 did not place (an option of another command, an
// unknown option or command), else a refused value.
std::string ReadFaults(const Declaration& declared)
{
    for (const std::string& extra : declared.app.remaining()) {
        const std::string name = extra.substr(0, extra.find('='));
        for (const auto& [option, owner] : declared.owners)
            if (name == option)
                return Misplaced(option, owner);
        if (extra.size() > 1 && extra[0] == '-')
            return "unknown option " + extra;
        return "unknown sub-command '" + extra + "'";
    }
    return declared.faults.empty() ? "" : declared.faults.front();
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    Declaration declared;
    CommandLine& line = declared.line;
    std::string fault;
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        declared.app.parse(reversed);
    } catch (const CLI::ArgumentMismatch&) {
        // A command's option as the last argument, without its value. CLI11 stops before it stores
        // the values, so --help is read from its count.
        for (const auto& [option, owner] : declared.owners)
            if (args.back() == option)
                fault = Misplaced(option, owner);
        for (const CLI::App* command : declared.app.get_subcommands())
            line.help = line.help || command->count("--help") > 0;
        line.help = line.help || declared.app.count("--help") > 0;
    } catch (const CLI::ParseError& error) {
        fault = error.what();
    }
    std::size_t expected = 0;
    for (const CLI::App* command : declared.app.get_subcommands())
        for (const CommandInfo& info : COMMANDS)
            if (command->get_name() == info.name) {
                line.command = info.command;
                expected = info.operands;
            }
    const std::string read = ReadFaults(declared);
    line.error = read.empty() ? fault : read;
    if (line.error.empty() && !line.help) {
        if (line.command == Command::None)
            line.error = "a sub-command is needed";
        else if (line.files.size() != expected)
            line.error = "expected " + std::to_string(expected) + (expected == 1 ? " file" : " files")
                + ", got " + std::to_string(line.files.size());
    }
    return line;
}

std::string HelpText(Command command)
{
    const Declaration declared;
    for (const CommandInfo& info : COMMANDS)
        if (info.command == command)
            return declared.app.get_subcommand(info.name)->help();
    return declared.app.help();
}

} // namespace vxinfo
