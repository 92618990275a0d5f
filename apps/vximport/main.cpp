// vximport: imports a real 3D file (FBX, glTF, OBJ, COLLADA, 3DS) through Assimp and writes it as
// a scene file. vxexport runs it as a separate process, so that a file which makes the importer
// crash, abort or hang ends this program and never vxexport.
//
// Usage: vximport [--allow-outside-references] [--unit UNIT] FILE SCENE.json IMAGEDIR
// Images and buffers the file names outside its own folder are not read (a note says which)
// unless --allow-outside-references is given.
// Writes SCENE.json (and its side file SCENE.bin when the arrays are large) and the images the
// file embeds into IMAGEDIR. What the import assumed where the file can be read more than one way
// goes to stderr, one line each ("vximport: note: FILE: ..."). Exit status 0 on success; 1 when
// the file did not import or the scene could not be written (the reason on stderr); 2 for a wrong
// command line; 3 when memory ran out ("FILE: the importer ran out of memory"), which vxexport's
// address-space limit makes the answer to a file that declares more than it may take.

#include "assimpimport/AssimpImport.h"
#include "memoryhost/UnitName.h"
#include "scenefile/SceneFileWriter.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kOutOfMemory = 3;

int Import(std::vector<std::string> args)
{
    using namespace vx;
    AssimpImportOptions options;
    if (!args.empty() && args[0] == "--allow-outside-references") {
        options.allowOutsideReferences = true;
        args.erase(args.begin());
    }
    if (args.size() >= 2 && args[0] == "--unit") {
        const auto type = FindUnitTypeByName(args[1]);
        if (!type) {
            std::cerr << "vximport: unknown unit '" << args[1] << "'\n";
            return 2;
        }
        options.unit = HostUnitInfo {*type, 1.0};
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() != 3) {
        std::cerr << "usage: vximport [--allow-outside-references] [--unit UNIT] FILE SCENE.json IMAGEDIR\n";
        return 2;
    }
    options.imageFolder = args[2];
    const AssimpImportResult imported = ImportAssimpScene(args[0], options);
    if (!imported.scene) {
        std::cerr << imported.error << "\n";
        return imported.outOfMemory ? kOutOfMemory : 1;
    }
    for (const std::string& note : imported.notes)
        std::cerr << "vximport: note: " << note << "\n";
    if (const auto error = WriteSceneFile(*imported.scene, args[1])) {
        std::cerr << error->file << ": " << error->message << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return Import(args);
    } catch (const std::bad_alloc&) {
        std::cerr << "vximport: the importer ran out of memory\n";
        return kOutOfMemory;
    }
}
