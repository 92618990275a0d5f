// The importer's child process: whatever the importer does (fail, crash, hang), vxexport learns it
// as a scene that did not load, with a reason, and goes on.

#include "vxexport/SceneSource.h"
#include "vxexport/ImportProcess.h"

#include "EndToEndSupport.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vxtest {
namespace {

using namespace std::chrono_literals;

class SceneSource : public testing::Test {
protected:
    // A stand-in importer: a shell script with body.
    std::string WriteImporter(const std::string& body)
    {
        const std::string path = dir.File("importer.sh");
        WriteTextFile(path, "#!/bin/sh\n" + body + "\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }
    vx::SceneSource Load(const std::string& importer, std::chrono::milliseconds timeout = 10s)
    {
        vx::SceneSourceRequest request;
        request.scene = dir.File("model.fbx");
        request.importer = importer;
        request.importWatch.timeout = timeout;
        return vx::LoadSceneSource(request);
    }

    TempDir dir;
};

TEST_F(SceneSource, ImporterFailuresBecomeErrorsNamingTheFile)
{
    const std::string scene = dir.File("model.fbx");
    const struct {
        const char* body;
        std::chrono::milliseconds timeout;
        std::string error;
    } cases[] = {
        {"echo \"$1: FBX-Parser: unexpected end of file\" >&2; exit 1", 10s,
            scene + ": FBX-Parser: unexpected end of file"},
        {"exit 5", 10s, scene + ": the importer failed with exit status 5"},
        // Out of memory, said by the importer or by the runtime that aborted it.
        {"exit 3", 10s, scene + ": the importer ran out of memory"},
        {"echo \"terminate called after throwing an instance of 'std::bad_alloc'\" >&2; kill -ABRT $$", 10s,
            scene + ": the importer ran out of memory"},
        {"kill -SEGV $$", 10s, scene + ": the importer crashed (signal 11, Segmentation fault)"},
        {"kill -ABRT $$", 10s, scene + ": the importer crashed (signal 6, Aborted)"},
        {"exec sleep 30", 300ms, scene + ": the importer was stopped after 0 seconds without finishing"},
        {"exit 0", 10s, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const vx::SceneSource source = Load(WriteImporter(c.body), c.timeout);
        EXPECT_FALSE(source.scene);
        if (c.error.empty()) // succeeded without writing a scene: the load of its scene file fails
            EXPECT_NE(source.error.find("the imported scene did not load"), std::string::npos)
                << source.error;
        else
            EXPECT_EQ(source.error, c.error);
    }
    EXPECT_NE(Load(dir.File("no-such-importer")).error.find("cannot run the importer"), std::string::npos);
}

TEST_F(SceneSource, TheImportFolderGoesWithTheScene)
{
    // The stand-in writes a scene file where it is asked to (its second argument).
    const std::string importer = WriteImporter(
        "printf '{\"format\": \"varnex-scene\", \"version\": 1, \"nodes\": [{\"name\": \"N\"}]}' > \"$2\"");
    std::filesystem::path folder;
    {
        const vx::SceneSource source = Load(importer);
        ASSERT_TRUE(source.scene) << source.error;
        EXPECT_NE(source.scene->GetNodeByName("N"), nullptr);
        ASSERT_TRUE(source.importFolder);
        folder = source.importFolder->GetPath();
        EXPECT_TRUE(std::filesystem::exists(folder / "scene.json"));
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}

// Whether the process pid has ended (gone, or a zombie nobody reaped yet).
bool HasEnded(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const size_t state = line.rfind(") ");
    return state != std::string::npos && state + 2 < line.size() && line[state + 2] == 'Z';
}

// Waits up to 10 s for the importer stand-in's pid (written to file) and for its end.
pid_t WaitForPid(const std::string& file)
{
    for (int i = 0; i < 1000; ++i) {
        std::ifstream in(file);
        pid_t pid = 0;
        if (in >> pid && pid > 0)
            return pid;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

bool WaitForEnd(pid_t pid)
{
    for (int i = 0; i < 1000 && !HasEnded(pid); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return HasEnded(pid);
}

// A cancel stops the import at once: the importer is killed, the import folder is removed, and the
// source says it was cancelled.
TEST_F(SceneSource, ACancelKillsTheImporterAndLeavesNothingBehind)
{
    const std::string pidFile = dir.File("importer.pid");
    const std::string importer
        = WriteImporter("echo $$ > " + pidFile + "; touch \"$3.started\"; exec sleep 60");
    std::atomic<bool> cancel {false};
    std::thread canceller([&] {
        if (WaitForPid(pidFile) > 0)
            cancel = true;
    });
    vx::SceneSourceRequest request;
    request.scene = dir.File("model.fbx");
    request.importer = importer;
    request.importWatch.cancelRequested = [&] { return cancel.load(); };
    const auto start = std::chrono::steady_clock::now();
    std::filesystem::path folder;
    {
        const vx::SceneSource source = vx::LoadSceneSource(request);
        canceller.join();
        EXPECT_TRUE(source.cancelled);
        EXPECT_EQ(source.error, request.scene + ": the import was cancelled");
        ASSERT_TRUE(source.importFolder);
        folder = source.importFolder->GetPath();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_TRUE(HasEnded(WaitForPid(pidFile)));
    EXPECT_FALSE(std::filesystem::exists(folder));
}

// An importer never outlives vxexport: killed outright (no handler runs), vxexport takes the
// importer with it.
TEST_F(SceneSource, TheImporterDiesWithItsParent)
{
    const std::string pidFile = dir.File("importer.pid");
    const std::string importer = WriteImporter("echo $$ > " + pidFile + "; exec sleep 60");
    const pid_t parent = fork();
    ASSERT_GE(parent, 0);
    if (parent == 0) {
        vx::RunChildProcess({importer}, vx::ChildWatch {});
        _exit(0);
    }
    const pid_t child = WaitForPid(pidFile);
    ASSERT_GT(child, 0);
    kill(parent, SIGKILL);
    waitpid(parent, nullptr, 0);
    EXPECT_TRUE(WaitForEnd(child)) << "the importer goes on without its parent";
    if (!HasEnded(child))
        kill(child, SIGKILL);
}

TEST_F(SceneSource, OnlyKnownExtensionsAreImported)
{
    for (const char* path : {"a.fbx", "a.FBX", "a.gltf", "a.glb", "a.obj", "a.dae", "a.3ds"})
        EXPECT_TRUE(vx::IsImportedSceneFile(path)) << path;
    for (const char* path : {"a.json", "a", "fbx", "a.fbx.json", "a.blend"})
        EXPECT_FALSE(vx::IsImportedSceneFile(path)) << path;
}

} // namespace
} // namespace vxtest
