#include "vxexport/SceneSource.h"

#include "vxexport/ImportMemory.h"
#include "vxexport/PluginCatalog.h"

#include "scenefile/SceneFileLoader.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <vector>

namespace vx {

bool IsImportedSceneFile(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* known : {".fbx", ".gltf", ".glb", ".obj", ".dae", ".3ds"})
        if (extension == known)
            return true;
    return false;
}

std::shared_ptr<TemporaryFolder> TemporaryFolder::Create()
{
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        base = "/tmp";
    std::string pattern = (base / "vxexport-import-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return nullptr;
    return std::shared_ptr<TemporaryFolder>(new TemporaryFolder(pattern));
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

namespace {

// The importer's exit status when memory ran out (it could not allocate).
constexpr int kImporterOutOfMemory = 3;

// Whether the importer ended because its memory ran out: it said so by its exit status, or it was
// aborted by an allocation failure it did not catch.
bool RanOutOfMemory(const ChildOutcome& outcome)
{
    return outcome.exitCode == kImporterOutOfMemory
        || (outcome.signal == SIGABRT && outcome.error.find("std::bad_alloc") != std::string::npos);
}

std::string DescribeOutOfMemory(std::uint64_t limit)
{
    if (limit == 0)
        return "the importer ran out of memory";
    return "the importer ran out of memory (it may use " + FormatMemorySize(limit)
        + "; --import-memory SIZE changes that)";
}

SceneSource ImportScene(const SceneSourceRequest& request)
{
    SceneSource source;
    source.importFolder = TemporaryFolder::Create();
    if (!source.importFolder) {
        source.error = request.scene + ": cannot make a temporary folder for the import";
        return source;
    }
    const std::filesystem::path folder = source.importFolder->GetPath();
    const std::string sceneFile = (folder / "scene.json").string();
    std::vector<std::string> argv {request.importer.empty()
            ? (std::filesystem::path(GetDefaultPluginFolder()) / "vximport").string()
            : request.importer};
    if (request.allowOutsideReferences)
        argv.push_back("--allow-outside-references");
    if (!request.unit.empty())
        argv.insert(argv.end(), {"--unit", request.unit});
    argv.insert(argv.end(),
        {request.scene, sceneFile,
            request.imageFolder.empty() ? (folder / "images").string() : request.imageFolder});
    const ChildOutcome outcome = RunChildProcess(argv, request.importWatch);
    source.cancelled = outcome.cancelled;
    if (outcome.exitCode != 0) {
        const std::string reason = RanOutOfMemory(outcome)
            ? DescribeOutOfMemory(request.importWatch.memoryBytes)
            : DescribeChildFailure(outcome, request.importWatch.timeout);
        // The importer names the file itself; a crash or a time-out is named here.
        source.error = reason.rfind(request.scene, 0) == 0 ? reason : request.scene + ": " + reason;
        return source;
    }
    SceneLoadResult loaded = LoadSceneFile(sceneFile);
    if (!loaded.scene) {
        source.error = request.scene + ": the imported scene did not load: "
            + (loaded.error ? loaded.error->GetText() : std::string("no reason given"));
        return source;
    }
    source.scene = std::move(loaded.scene);
    // The importer's remarks on a file it read (what it assumed) reach the user with the run.
    std::size_t start = 0;
    while (start < outcome.error.size()) {
        const std::size_t end = outcome.error.find('\n', start);
        const std::string line
            = outcome.error.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty())
            source.notes.push_back(line);
        start = end == std::string::npos ? outcome.error.size() : end + 1;
    }
    return source;
}

} // namespace

SceneSource LoadSceneSource(const SceneSourceRequest& request)
{
    if (IsImportedSceneFile(request.scene))
        return ImportScene(request);
    SceneSource source;
    SceneLoadResult loaded = LoadSceneFile(request.scene);
    if (loaded.scene)
        source.scene = std::move(loaded.scene);
    else
        source.error = loaded.error ? loaded.error->GetText() : request.scene + ": not loaded";
    return source;
}

} // namespace vx
