// The importer's child process: whatever the importer does (fail, crash, hang), vxexport learns it
// as a scene that did not load, with a reason, and goes on.

#include "vxexport/ImportProcess.h"
#include "vxexport/SceneSource.h"

#include "EndToEndSupport.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

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
        request.timeout = timeout;
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
        {"echo \"$1: FBX-Parser: unexpected end of file\" >&2; exit 1", 10s, scene + ": FBX-Parser: unexpected end of file"},
        {"exit 3", 10s, scene + ": the importer failed with exit status 3"},
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
            EXPECT_NE(source.error.find("the imported scene did not load"), std::string::npos) << source.error;
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

TEST_F(SceneSource, OnlyKnownExtensionsAreImported)
{
    for (const char* path : {"a.fbx", "a.FBX", "a.gltf", "a.glb", "a.obj", "a.dae", "a.3ds"})
        EXPECT_TRUE(vx::IsImportedSceneFile(path)) << path;
    for (const char* path : {"a.json", "a", "fbx", "a.fbx.json", "a.blend"})
        EXPECT_FALSE(vx::IsImportedSceneFile(path)) << path;
}

} // namespace
} // namespace vxtest
