#include "vxexport/HelpText.h"

#ifndef VX_VERSION_TEXT
#define VX_VERSION_TEXT "unknown"
#endif

namespace vx {

const char* GetUsageText()
{
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
           "  -y, --yes              suppress prompts: no options dialog and no message boxes; the\n"
           "                         scene is exported as a single object and every message goes\n"
           "                         to the log only (failures are summed up on stderr)\n"
           "      --single-object    answer the options dialog without a prompt: single object\n"
           "      --per-object       answer the options dialog without a prompt: one library\n"
           "                         object per top-level instance (not with --yes)\n"
           "      --optimize-geometry\n"
           "                         before exporting, let nodes whose meshes and materials are\n"
           "                         equal share one object, so that they are written as one\n"
           "                         geometry (this changes the scene in memory only)\n"
           "      --animation        write the key-frame animation of animated nodes (stored as\n"
           "                         files named by each instance's \"AnimationData\" property)\n"
           "      --dump-scene FILE.json\n"
           "                         write the loaded scene to FILE.json in the scene file format\n"
           "                         (images a 3D file embeds go to the folder FILE-images); without\n"
           "                         TARGET nothing is exported\n"
           "      --unit UNIT        the unit of OBJ and 3DS files, which state none: inches, feet,\n"
           "                         miles, millimeters, centimeters, meters (default), kilometers\n"
           "      --allow-outside-references\n"
           "                         read the images and buffers a 3D file names outside its own\n"
           "                         folder (refused by default: only for files you trust)\n"
           "      --import-memory SIZE\n"
           "                         the memory the import of a 3D file may take, such as 512M or\n"
           "                         4G, or \"unlimited\" (default: half of this machine's memory)\n"
           "      --debug-output FILE\n"
           "                         write the developer diagnostics to FILE (\"-\" for stderr)\n"
           "      --plugins DIR      load the exporter plug-ins from DIR (default: the folder of\n"
           "                         the vxexport program)\n"
           "      --list-exporters   list the exporters found (description, class name,\n"
           "                         extension, version) and exit\n"
           "  -q, --quiet            no progress display and no \"Info\" messages; errors and\n"
           "                         warnings are still printed\n"
           "  -h, --help             print this help and exit\n"
           "      --version          print the version and exit\n"
           "\n"
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
