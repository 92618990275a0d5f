#pragma once
// The command line of vxexport: vxexport [options] SCENE TARGET.vx

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// How the options dialog is answered.
enum class DialogAnswer {
    Ask, // a prompt on a terminal; the dialog's defaults (OK) when stdin or stderr is no terminal
    SingleObject, // --single-object: tick "Export as single object", then OK
    PerObject, // --per-object: untick it, then OK
};

struct CommandLine {
    bool help = false;
    bool version = false;
    // --yes: the host's suppress-prompts flag (no dialog, no message boxes, single-object mode).
    bool suppressPrompts = false;
    // --quiet: no progress display and no "Info" boxes.
    bool quiet = false;
    DialogAnswer dialogAnswer = DialogAnswer::Ask;
    // --debug-output FILE; "-" is stderr. Empty when not given (the debugger output is dropped).
    std::string debugOutput;
    // --plugins DIR: the folder to load the exporter plug-ins from; empty for the default (the
    // folder of the vxexport program).
    std::string pluginFolder;
    // --list-exporters: list the exporters found and exit.
    bool listExporters = false;
    // --optimize-geometry: let nodes with equal meshes share one object before the export (the
    // host's option bit for the geometry optimiser).
    bool optimizeGeometry = false;
    // --animation: write the nodes' key-frame animation (the host's option bit for animation data).
    bool animation = false;
    // --dump-scene FILE: write the loaded scene to FILE in the scene file format. Without TARGET
    // nothing is exported.
    std::string dumpScene;
    // --unit UNIT: the unit of imported files that state none (OBJ, 3DS); empty for metres.
    std::string unit;
    // --allow-outside-references: an imported file may name images and buffers outside its folder.
    bool allowOutsideReferences = false;
    // --import-memory SIZE: the importer's address-space limit in bytes (0: none); nothing for the
    // default (GetDefaultImportMemoryBytes).
    std::optional<std::uint64_t> importMemory;
    std::string scene;
    // Empty only with --dump-scene.
    std::string target;
};

struct CommandLineParse {
    CommandLine line;
    // Why the arguments are not a valid command line; empty when they are.
    std::string error;
};

// Parses the arguments that follow the program name. Options may stand anywhere before "--";
// valued options take their value as the next argument or after "=". With --help, --version or
// --list-exporters the positional arguments are not required and everything else but faulty options
// is ignored. Unknown options, missing or refused option values, a missing or empty SCENE or TARGET,
// extra arguments, --per-object together with --single-object, and --per-object together with --yes
// (a run without prompts always exports a single object) are errors.
// With --dump-scene TARGET may be left out; --unit takes a unit name (FindUnitTypeByName), and an
// unknown one is an error.
CommandLineParse ParseCommandLine(const std::vector<std::string>& args);

// The option list of the usage: one entry per option with its help text, from the same declarations
// that ParseCommandLine reads the arguments with.
std::string FormatOptionList();

} // namespace vx
