// vxexport: plays the modelling host on the command line. It loads a scene file and exports it to
// a design database the way the host calls the exporter.

#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage
    = "Usage: vxexport [options] SCENE TARGET.vx\n"
      "\n"
      "Exports the scene file SCENE to the design database TARGET.vx and writes the log\n"
      "TARGET.vx.log beside it.\n"
      "\n"
      "Options:\n"
      "  --help       print this help and exit\n"
      "  --version    print the version and exit\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("vxexport %s\n", VX_VERSION_TEXT);
        return 0;
    }
    std::fputs("vxexport: exporting is not available in this build yet\n", stderr);
    return 2;
}
