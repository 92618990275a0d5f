#pragma once
// The command line of vxinfo: a sub-command, its files and its options.

#include "vxinfo/PreviewView.h"

#include <string>
#include <vector>

namespace vxinfo {

enum class Command { None, Summary, Tree, Check, Gltf, Mesh, Preview };

struct CommandLine {
    Command command = Command::None;
    bool help = false; // --help (with or without a sub-command)
    bool json = false; // --json
    int depth = -1; // tree --depth N; -1 without a limit
    int width = 800, height = 600; // preview --size WxH
    PreviewView view = PreviewView::Iso; // preview --view iso|front|top
    std::vector<std::string> files; // the operands in order
    std::string error; // a usage fault; empty when the line is sound
};

// Reads args (without the program name). Unknown options, a missing or surplus operand, and bad
// option values set error; --help anywhere makes the other faults irrelevant.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The help text of command (the program's overview for Command::None), laid out from the declarations
// ParseCommandLine reads the arguments with.
std::string HelpText(Command command);

} // namespace vxinfo
