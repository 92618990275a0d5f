#include "vxinfo/CommandLine.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

namespace vxinfo {

namespace {

struct CommandInfo {
    const char* name;
    Command command;
    std::size_t operands;
};

constexpr CommandInfo COMMANDS[]
    = {{"summary", Command::Summary, 1}, {"tree", Command::Tree, 1}, {"check", Command::Check, 1},
        {"gltf", Command::Gltf, 2}, {"mesh", Command::Mesh, 2}, {"preview", Command::Preview, 2}};

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

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    // The first fault is the one reported.
    std::string error;
    const auto fail = [&error](const std::string& text) {
        if (error.empty())
            error = text;
    };
    std::size_t expected = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--json") {
            line.json = true;
        } else if (arg == "--depth" || arg == "--size") {
            const bool isDepth = arg == "--depth";
            if (i + 1 >= args.size() || (isDepth && line.command != Command::Tree)
                || (!isDepth && line.command != Command::Preview)) {
                fail(arg + " needs a value and belongs to " + (isDepth ? "tree" : "preview"));
                continue;
            }
            const std::string& value = args[++i];
            if (isDepth ? !ReadCount(value, 0, 1000000, line.depth)
                        : !ReadSize(value, line.width, line.height))
                fail(isDepth ? "--depth needs a whole number of levels, not '" + value + "'"
                             : "--size needs WIDTHxHEIGHT between 16 and 8192, not '" + value + "'");
        } else if (arg == "--view") {
            if (i + 1 >= args.size() || line.command != Command::Preview) {
                fail("--view needs a value and belongs to preview");
                continue;
            }
            const std::string& value = args[++i];
            const std::optional<PreviewView> view = PreviewViewNamed(value);
            if (view)
                line.view = *view;
            else
                fail("--view needs iso, front or top, not '" + value + "'");
        } else if (arg.size() > 1 && arg[0] == '-') {
            fail("unknown option " + arg);
        } else if (line.command == Command::None && error.empty()) {
            for (const CommandInfo& info : COMMANDS)
                if (arg == info.name) {
                    line.command = info.command;
                    expected = info.operands;
                }
            if (line.command == Command::None)
                fail("unknown sub-command '" + arg + "'");
        } else {
            line.files.push_back(arg);
        }
    }
    if (!line.help) {
        if (line.command == Command::None)
            fail("a sub-command is needed");
        else if (line.files.size() != expected)
            fail("expected " + std::to_string(expected) + (expected == 1 ? " file" : " files") + ", got "
                + std::to_string(line.files.size()));
    }
    line.error = error;
    return line;
}

std::string HelpText(Command command)
{
    switch (command) {
    case Command::Summary:
        return "Usage: vxinfo summary FILE.vx [--json]\n"
               "Prints the version identifier and stamp, the counts of composite objects, instances,\n"
               "geometries, triangles, buffer files, textures, properties and groups, the failed objects\n"
               "of the export log beside the file (FILE.vx.log), and the root record's box and camera.\n"
               "A log that cannot be the log of the run that wrote the file (a later run kept the file;\n"
               "the log was created or last written after the file was finished; it names only objects\n"
               "the file does not hold) is not read for failed objects: the summary says why instead.\n"
               "Only the last 1 MiB of the log is read.\n";
    case Command::Tree:
        return "Usage: vxinfo tree FILE.vx [--depth N] [--json]\n"
               "Prints the instance tree from the root record: for each instance its name, the object it\n"
               "places, its position and angles, and its properties. --depth N shows N levels below the\n"
               "root; deeper levels are shown as '...'.\n";
    case Command::Check:
        return "Usage: vxinfo check FILE.vx [--json]\n"
               "Checks the file against the format's structural rules (SQLite integrity, tables and seed\n"
               "rows, identifiers, references, model descriptions and buffer files, finite values,\n"
               "reachability from the root). Prints one line per finding.\n"
               "Exit code 0 when the file is sound, 1 when there are findings.\n";
    case Command::Gltf:
        return "Usage: vxinfo gltf FILE.vx OUT.glb [--json]\n"
               "Writes the design as a glTF 2.0 binary: instances as nodes, geometries as shared meshes,\n"
               "material colours, and the stored PNG and JPEG textures embedded.\n";
    case Command::Mesh:
        return "Usage: vxinfo mesh FILE.vx OUT.obj [--json]\n"
               "Writes every placed triangle of the design in the root's frame (metres, x y z with z up)\n"
               "as Wavefront OBJ: one group per instance path, with positions, normals and faces.\n";
    case Command::Preview:
        return "Usage: vxinfo preview FILE.vx OUT.png [--view iso|front|top] [--size WIDTHxHEIGHT] [--json]\n"
               "Renders the design orthographically and writes it as PNG (software rendering, 800x600\n"
               "unless --size says otherwise). --view iso (the default) looks down from the front-left,\n"
               "front looks along +y, top looks down. Faces are shaded by a fixed light from above, front\n"
               "and left, and show their material's texture or colour.\n";
    case Command::None:
        break;
    }
    return "Usage: vxinfo COMMAND FILE.vx [options]\n"
           "Inspects a design database without the reading application. Commands:\n"
           "  summary FILE.vx            counts, version, failed objects, root box and camera\n"
           "  tree FILE.vx               the instance tree with placements and properties\n"
           "  check FILE.vx              structural check; exit code 1 when something is wrong\n"
           "  gltf FILE.vx OUT.glb       the design as glTF 2.0 binary\n"
           "  mesh FILE.vx OUT.obj       the placed triangles as Wavefront OBJ\n"
           "  preview FILE.vx OUT.png    a shaded picture (--view iso|front|top)\n"
           "Options: --json (machine-readable output), --help (with a command: its help).\n"
           "Exit codes: 0 done, 1 check found faults, 2 bad command line, 3 the file cannot be read\n"
           "or the output cannot be written.\n";
}

} // namespace vxinfo
