#include "vxexport/HelpText.h"

#include "vxexport/CommandLine.h"

#ifndef VX_VERSION_TEXT
#define VX_VERSION_TEXT "unknown"
#endif

namespace vx {

std::string GetUsageText()
{
    // The options and their help are declared with the parser (CommandLine.cpp).
    return "Usage: vxexport [options] SCENE TARGET.vx\n"
           "       vxexport [--unit UNIT] --dump-scene FILE.json SCENE\n"
           "       vxexport [--plugins DIR] --list-exporters\n"
           "\n"
           "Loads the scene file SCENE and exports it to the design database TARGET.vx, the way the\n"
           "modelling host runs the Varnex exporter (loaded as a plug-in library, picked by the\n"
           "target's extension). The log is written beside the target, as\n"
           "TARGET.vx.log. The previous TARGET.vx is replaced only when the new export succeeded.\n"
           "\n"
           "Options:\n"
        + FormatOptionList()
        + "\n"
          "SCENE is a scene file (JSON), or a 3D file that is imported: FBX (.fbx), glTF 2.0\n"
          "(.gltf, .glb), Wavefront OBJ with its MTL (.obj), COLLADA (.dae) or 3DS (.3ds). The\n"
          "import runs in the separate program vximport beside vxexport.\n"
          "\n"
          "Without an answer option the options dialog is a prompt when stdin and stderr are\n"
          "terminals, and is answered with its defaults (OK, single object) otherwise. Message\n"
          "boxes are printed on stderr; the progress is shown on stderr when it is a terminal.\n"
          "Ctrl-C, SIGTERM or SIGHUP cancels the import or the export (exit code 4, nothing left\n"
          "behind); a second one ends vxexport at once.\n"
          "\n"
          "Exit codes:\n"
          "  0  the export went through without failed objects\n"
          "  1  the export finished, but some objects could not be converted\n"
          "  2  usage error\n"
          "  3  nothing exported: no valid objects, or the target is in use\n"
          "  4  cancelled (options dialog, Ctrl-C, SIGTERM or SIGHUP)\n"
          "  5  the run failed (an error ended it, or the database could not be committed)\n"
          "  6  the scene file could not be loaded\n"
          "  7  no exporter plug-in was found (for the target's extension)\n";
}

std::string GetVersionText()
{
    return std::string("vxexport ") + VX_VERSION_TEXT + "\n";
}

} // namespace vx
