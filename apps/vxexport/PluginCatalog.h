#pragma once
// The exporter plug-ins vxexport found: every "*.so" of a folder is loaded with dlopen and asked
// through its four entry points; the libraries that hold a usable exporter stay loaded.

#include "host/PluginInterface.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vx {

// One exporter class of a loaded plug-in library.
struct PluginExporter {
    std::string libraryPath;
    std::string description; // LibDescription; "" when it gave null
    std::string className;
    std::vector<std::string> extensions;
    unsigned int version = 0; // the exporter's Version
    ClassDesc* descriptor = nullptr; // valid while the catalog lives
};

class PluginCatalog {
public:
    PluginCatalog() = default;
    // Unloads the libraries: the exporters they made must be gone by then.
    ~PluginCatalog();
    PluginCatalog(const PluginCatalog&) = delete;
    PluginCatalog& operator=(const PluginCatalog&) = delete;

    // Loads the "*.so" files of folder, in name order. A file that does not load, lacks one of
    // LibDescription, LibNumberClasses, LibClassDesc and LibVersion, reports a version other than
    // kPluginApiVersion, or gives a null descriptor or one that is not a scene exporter is
    // skipped with a line on errors ("vxexport: skipped plug-in '<path>': <reason>"). A folder
    // that cannot be read is reported the same way and gives no exporters.
    void LoadFolder(const std::string& folder, std::ostream& errors);

    const std::vector<PluginExporter>& GetExporters() const { return exporters_; }

    // The first exporter that writes extension (compared without case); null when none does.
    const PluginExporter* FindByExtension(const std::string& extension) const;

private:
    void LoadLibrary(const std::string& path, std::ostream& errors);

    std::vector<void*> libraries_;
    std::vector<PluginExporter> exporters_;
};

// The folder vxexport looks for plug-ins in by default: its own (from /proc/self/exe); "." when
// that cannot be read.
std::string GetDefaultPluginFolder();

// The extension of path, without the dot, by the exporter's rule (GetExtension) applied to the
// absolute path: "" when the file name has no '.' or ends in one; a file named ".vx" has "vx".
std::string GetTargetExtension(const std::string& path);

} // namespace vx
