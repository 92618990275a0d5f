// vxinfo: inspects a design database (summary, tree, check, gltf, mesh, preview). See HelpText.
#include "vxinfo/CommandLine.h"
#include "vxinfo/RunCommand.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vxinfo::RunCommand(vxinfo::ParseCommandLine(args), std::cout, std::cerr);
}
