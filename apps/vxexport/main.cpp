// vxexport: plays the modelling host on the command line. It loads a scene file and exports it to
// a design database the way the host calls the exporter.

#include "vxexport/CommandLine.h"
#include "vxexport/ExitCode.h"
#include "vxexport/ExportCommand.h"
#include "vxexport/HelpText.h"
#include "vxexport/TerminalText.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace vx;
    const CommandLineParse parse = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parse.error.empty()) {
        std::cerr << "vxexport: " << MakePrintable(parse.error) << "\nTry 'vxexport --help'.\n";
        return ToProcessStatus(ExitCode::UsageError);
    }
    if (parse.line.help) {
        std::cout << GetUsageText();
        return ToProcessStatus(ExitCode::Exported);
    }
    if (parse.line.version) {
        std::cout << GetVersionText();
        return ToProcessStatus(ExitCode::Exported);
    }
    try {
        if (parse.line.listExporters)
            return ToProcessStatus(RunListExportersCommand(parse.line, std::cout));
        return ToProcessStatus(RunExportCommand(parse.line));
    } catch (const std::exception& error) {
        std::cerr << "vxexport: the export failed: " << MakePrintable(error.what()) << "\n";
    } catch (...) {
        std::cerr << "vxexport: the export failed\n";
    }
    return ToProcessStatus(ExitCode::RunFailed);
}
