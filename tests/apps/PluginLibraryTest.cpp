// The exporter plug-in library as a loading program sees it: dlopen'ed, asked through its entry
// points; and vxexport finding, skipping and using plug-ins in a folder.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"

#include "host/PluginInterface.h"
#include "support/TempDir.h"
#include "vxexport/PluginCatalog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <sstream>

namespace vxtest {
namespace {

namespace fs = std::filesystem;

constexpr int kExported = 0;
constexpr int kNoExporter = 7;

// The built plug-in library, loaded for one test.
class LoadedPlugin : public testing::Test {
protected:
    void SetUp() override
    {
        library = dlopen(VX_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
    }
    void TearDown() override
    {
        if (library)
            dlclose(library);
    }
    template <typename Function> Function Entry(const char* name)
    {
        return reinterpret_cast<Function>(dlsym(library, name));
    }

    void* library = nullptr;
};

TEST_F(LoadedPlugin, EntryPointsAnswer)
{
    auto description = Entry<const char* (*)()>("LibDescription");
    auto classCount = Entry<int (*)()>("LibNumberClasses");
    auto classDesc = Entry<vx::ClassDesc* (*)(int)>("LibClassDesc");
    auto version = Entry<std::uint32_t (*)()>("LibVersion");
    ASSERT_TRUE(description && classCount && classDesc && version);
    // The library entry ran at load time, so the module handle is stored.
    ASSERT_NE(description(), nullptr);
    EXPECT_STREQ(description(), "export to VX");
    EXPECT_EQ(classCount(), 1);
    EXPECT_NE(classDesc(0), nullptr);
    EXPECT_EQ(classDesc(1), nullptr);
    EXPECT_EQ(classDesc(-1), nullptr);
    EXPECT_EQ(version(), 0x2EE02100u);
    // Nothing but the entry points can be found in it.
    EXPECT_EQ(dlsym(library, "_ZN2vx21GetExporterClassDescEv"), nullptr);
}

TEST_F(LoadedPlugin, DescriptorAnswers)
{
    vx::ClassDesc* desc = Entry<vx::ClassDesc* (*)(int)>("LibClassDesc")(0);
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(desc->IsPublic(), 1);
    EXPECT_EQ(desc->BeginCreate(nullptr), 0);
    EXPECT_EQ(desc->EndCreate(nullptr), 0);
    EXPECT_STREQ(desc->ClassName(), "VNX30MaxExporter");
    EXPECT_EQ(desc->SuperClassID(), 0xA20u);
    EXPECT_EQ(desc->ClassID().a, 0x5B930AC4u);
    EXPECT_EQ(desc->ClassID().b, 0x561F12ABu);
    EXPECT_STREQ(desc->Category(), "export to VX");
    EXPECT_EQ(desc->OkToCreate(nullptr), 1);
    EXPECT_EQ(desc->HasClassParams(), 0);
    desc->EditClassParams(nullptr);
    EXPECT_STREQ(desc->InternalName(), "VNX30MaxExporter");
    Dl_info info {};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(dlsym(library, "LibVersion")), &info), 0);
    EXPECT_EQ(desc->HInstance(), info.dli_fbase);
}

TEST_F(LoadedPlugin, ExporterAnswers)
{
    vx::ClassDesc* desc = Entry<vx::ClassDesc* (*)(int)>("LibClassDesc")(0);
    ASSERT_NE(desc, nullptr);
    auto* first = static_cast<vx::SceneExport*>(desc->Create(0));
    auto* second = static_cast<vx::SceneExport*>(desc->Create(1));
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second); // a fresh object per call
    EXPECT_EQ(first->ExtCount(), 1);
    EXPECT_STREQ(first->Ext(0), "vx");
    EXPECT_STREQ(first->Ext(1), "");
    EXPECT_STREQ(first->Ext(-1), "");
    EXPECT_STREQ(first->LongDesc(), "Varnex Exporter");
    EXPECT_STREQ(first->ShortDesc(), "Varnex File");
    EXPECT_STREQ(first->AuthorName(), "");
    EXPECT_GT(std::strlen(first->CopyrightMessage()), 0u);
    EXPECT_STREQ(first->OtherMessage1(), "");
    EXPECT_STREQ(first->OtherMessage2(), "");
    EXPECT_EQ(first->Version(), 100u);
    first->ShowAbout(nullptr);
    EXPECT_EQ(first->SupportsOptions(0, 0), 1);
    EXPECT_EQ(first->SupportsOptions(3, 0xFFFFFFFFu), 1);
    // Before a run the report says so, and a run without a host fails cleanly.
    EXPECT_EQ(first->GetLastReport()->GetStatus(), 0);
    EXPECT_EQ(first->DoExport("x.vx", nullptr, 1), 0);
    EXPECT_EQ(first->GetLastReport()->GetStatus(), 6);
    EXPECT_STREQ(first->GetLastReport()->GetFailedName(0), "");
    first->DeleteThis();
    second->DeleteThis();
}

// A plug-in folder holding the given libraries (copied under the given names).
class PluginFolder : public testing::Test {
protected:
    void Add(const std::string& library, const std::string& name)
    {
        fs::create_directories(dir.File("plugins"));
        fs::copy_file(library, dir.File("plugins/" + name), fs::copy_options::overwrite_existing);
    }
    std::string Folder() const { return dir.File("plugins"); }

    TempDir dir;
};

TEST_F(PluginFolder, BrokenLibrariesAreReportedAndSkipped)
{
    Add(VX_PLUGIN_PATH, "VNX30MaxExporter_R2010.so");
    Add(VX_FAKE_PLUGIN_MISSING_ENTRY, "a_missing.so");
    Add(VX_FAKE_PLUGIN_WRONG_VERSION, "b_version.so");
    Add(VX_FAKE_PLUGIN_NULL_DESCRIPTOR, "c_null.so");
    WriteTextFile(dir.File("plugins/d_empty.so"), "");
    WriteTextFile(dir.File("plugins/notes.txt"), "not a library");

    vx::PluginCatalog catalog;
    std::ostringstream errors;
    catalog.LoadFolder(Folder(), errors);
    ASSERT_EQ(catalog.GetExporters().size(), 1u);
    const vx::PluginExporter& entry = catalog.GetExporters()[0];
    EXPECT_EQ(entry.description, "export to VX");
    EXPECT_EQ(entry.className, "VNX30MaxExporter");
    EXPECT_EQ(entry.extensions, std::vector<std::string>({"vx"}));
    EXPECT_EQ(entry.version, 100u);
    EXPECT_EQ(catalog.FindByExtension("VX"), &entry);
    EXPECT_EQ(catalog.FindByExtension("db"), nullptr);

    const std::string text = errors.str();
    const std::vector<std::pair<std::string, std::string>> skipped = {
        {"a_missing.so", "an entry point is missing"},
        {"b_version.so", "wrong version 0x2EE02000 (expected 0x2EE02100)"},
        {"c_null.so", "null descriptor"},
        {"d_empty.so", "d_empty.so"},
    };
    for (const auto& [name, reason] : skipped) {
        const size_t line = text.find("vxexport: skipped plug-in '" + Folder() + "/" + name + "': ");
        ASSERT_NE(line, std::string::npos) << name << "\n" << text;
        EXPECT_NE(text.find(reason, line), std::string::npos) << name << "\n" << text;
    }
    EXPECT_EQ(text.find("notes.txt"), std::string::npos);
    EXPECT_EQ(text.find("VNX30MaxExporter_R2010"), std::string::npos);
}

TEST_F(PluginFolder, VxexportExportsThroughTheLoadedPlugin)
{
    Add(VX_PLUGIN_PATH, "VNX30MaxExporter_R2010.so");
    WriteTextFile(dir.File("plugins/broken.so"), "");
    const std::string scene = dir.File("scene.json");
    WriteTextFile(scene, MakeSceneText(R"("objects": [{"id": "box", "type": "mesh",
     "mesh": {"vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]]}}],
     "nodes": [{"name": "Box", "object": "box"}])"));

    const ProcessResult run = RunVxexport({"--yes", "--plugins", Folder(), scene, dir.File("out.vx")});
    EXPECT_EQ(run.exitCode, kExported) << run.err;
    EXPECT_NE(run.err.find("skipped plug-in '" + Folder() + "/broken.so'"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(dir.File("out.vx")));

    const ProcessResult list = RunVxexport({"--plugins=" + Folder(), "--list-exporters"});
    EXPECT_EQ(list.exitCode, kExported) << list.err;
    EXPECT_EQ(
        list.out, "export to VX\tVNX30MaxExporter\tvx\t100\t" + Folder() + "/VNX30MaxExporter_R2010.so\n");
}

TEST_F(PluginFolder, NoUsableExporterIsItsOwnExitCode)
{
    Add(VX_FAKE_PLUGIN_WRONG_VERSION, "old.so");
    const std::string scene = dir.File("scene.json");
    WriteTextFile(scene, MakeSceneText());
    const std::vector<std::vector<std::string>> cases = {
        {"--yes", "--plugins", Folder(), scene, dir.File("out.vx")},
        {"--plugins", dir.File("missing"), "--list-exporters"},
        // The real plug-in is found by default beside vxexport, but it does not write ".db".
        {"--yes", scene, dir.File("out.db")},
    };
    for (const auto& args : cases) {
        const ProcessResult run = RunVxexport(args);
        EXPECT_EQ(run.exitCode, kNoExporter) << testing::PrintToString(args) << "\n" << run.err;
        EXPECT_NE(run.err.find("vxexport: no exporter plug-in"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(dir.File("out.vx")));
    EXPECT_FALSE(fs::exists(dir.File("out.db")));
}

} // namespace
} // namespace vxtest
