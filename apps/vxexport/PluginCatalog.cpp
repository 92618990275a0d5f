#include "vxexport/PluginCatalog.h"

#include "base/Paths.h"

#include "vxexport/TerminalText.h"

#include <algorithm>
#include <cctype>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace vx {

namespace {

using LibDescriptionFn = const char* (*)();
using LibNumberClassesFn = int (*)();
using LibClassDescFn = ClassDesc* (*)(int);
using LibVersionFn = std::uint32_t (*)();

// The class count a library may claim; more is taken as a broken library.
constexpr int kMaxClassesPerLibrary = 1024;

std::string ToLower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void ReportSkipped(std::ostream& errors, const std::string& path, const std::string& reason)
{
    errors << "vxexport: skipped plug-in '" << MakePrintable(path) << "': " << MakePrintable(reason) << "\n";
}

std::string ToHex(std::uint32_t value)
{
    static const char* digits = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += digits[(value >> shift) & 0xF];
    return text;
}

// Reads the exporter's identity from a fresh object of descriptor; false when it cannot be made.
bool ReadExporterIdentity(ClassDesc& descriptor, PluginExporter& entry)
{
    auto* exporter = static_cast<SceneExport*>(descriptor.Create(0));
    if (!exporter)
        return false;
    for (int i = 0; i < exporter->ExtCount(); ++i) {
        const char* ext = exporter->Ext(i);
        if (ext && *ext)
            entry.extensions.emplace_back(ext);
    }
    entry.version = exporter->Version();
    exporter->DeleteThis();
    return true;
}

} // namespace

PluginCatalog::~PluginCatalog()
{
    exporters_.clear();
    for (void* library : libraries_)
        dlclose(library);
}

void PluginCatalog::LoadFolder(const std::string& folder, std::ostream& errors)
{
    std::error_code error;
    std::vector<std::string> paths;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() == ".so")
            paths.push_back(path.string());
    }
    if (error) {
        errors << "vxexport: cannot read the plug-in folder '" << MakePrintable(folder)
               << "': " << error.message() << "\n";
        return;
    }
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths)
        LoadLibrary(path, errors);
}

void PluginCatalog::LoadLibrary(const std::string& path, std::ostream& errors)
{
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* text = dlerror();
        ReportSkipped(errors, path, text ? text : "it cannot be loaded");
        return;
    }
    auto description = reinterpret_cast<LibDescriptionFn>(dlsym(library, "LibDescription"));
    auto classCount = reinterpret_cast<LibNumberClassesFn>(dlsym(library, "LibNumberClasses"));
    auto classDesc = reinterpret_cast<LibClassDescFn>(dlsym(library, "LibClassDesc"));
    auto version = reinterpret_cast<LibVersionFn>(dlsym(library, "LibVersion"));
    std::string reason;
    if (!description || !classCount || !classDesc || !version)
        reason = "an entry point is missing (LibDescription, LibNumberClasses, LibClassDesc, LibVersion)";
    else if (version() != kPluginApiVersion)
        reason = "wrong version " + ToHex(version()) + " (expected " + ToHex(kPluginApiVersion) + ")";
    if (!reason.empty()) {
        ReportSkipped(errors, path, reason);
        dlclose(library);
        return;
    }

    const char* libraryText = description();
    const int count = std::min(classCount(), kMaxClassesPerLibrary);
    size_t found = 0;
    for (int i = 0; i < count; ++i) {
        ClassDesc* descriptor = classDesc(i);
        if (!descriptor) {
            ReportSkipped(errors, path, "class " + std::to_string(i) + " has a null descriptor");
            continue;
        }
        if (descriptor->SuperClassID() != kSuperClassSceneExport)
            continue;
        PluginExporter entry;
        entry.libraryPath = path;
        entry.description = libraryText ? libraryText : "";
        entry.className = descriptor->ClassName() ? descriptor->ClassName() : "";
        entry.descriptor = descriptor;
        if (!ReadExporterIdentity(*descriptor, entry)) {
            ReportSkipped(errors, path, "class " + std::to_string(i) + " makes no exporter");
            continue;
        }
        exporters_.push_back(std::move(entry));
        ++found;
    }
    if (found == 0) {
        if (count <= 0)
            ReportSkipped(errors, path, "it holds no exporter");
        dlclose(library);
        return;
    }
    libraries_.push_back(library);
}

const PluginExporter* PluginCatalog::FindByExtension(const std::string& extension) const
{
    const std::string wanted = ToLower(extension);
    for (const PluginExporter& entry : exporters_) {
        for (const std::string& ext : entry.extensions) {
            if (ToLower(ext) == wanted)
                return &entry;
        }
    }
    return nullptr;
}

std::string GetDefaultPluginFolder()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !self.has_parent_path())
        return ".";
    return self.parent_path().string();
}

std::string GetTargetExtension(const std::string& path)
{
    // The exporter's own rule, on the whole path as the host hands it over (absolute), so that a
    // file named only ".vx" has the extension "vx" as it has in the exporter.
    std::error_code failed;
    const std::filesystem::path whole = std::filesystem::absolute(path, failed);
    const std::string text = failed ? path : whole.string();
    const char* extension = GetExtension(text.c_str());
    return extension && *extension == '.' ? std::string(extension + 1) : std::string();
}

} // namespace vx
