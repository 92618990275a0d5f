// The pieces of the run: the design root, the scene context, the scene passes and the target
// replacement.

#include "exporter/DesignRoot.h"
#include "exporter/ModuleManager.h"
#include "exporter/TargetReplacement.h"
#include "run/SceneContext.h"

#include "base/DFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

TEST(DesignRoot, NameIsTheTitleOfTheTitle)
{
    const struct {
        const char* target;
        const char* name;
    } cases[] = {
        {"/out/house.vx", "house"},
        {"/out/plan.final.vx", "plan"},
        {"/out/.vx", "- no name -"},
        {"c:\\out\\house.vx", "house"},
        {"plain", "plain"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vx::DesignNameOf(c.target), c.name) << c.target;
}

TEST(DesignRoot, IsCreatedValidNamedAndRegistered)
{
    ZR::Design design;
    ZR::CompositeObject* root = vx::CreateDesignRoot(design, "house", 2);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(design.Root(), root);
    EXPECT_EQ(design.objects.Find(root->guid), root);
    EXPECT_TRUE(root->data.Aabb.valid);
    EXPECT_EQ(root->data.Aabb.min, (vx::Vector3 {-1000, -1000, -1000}));
    EXPECT_EQ(root->data.Aabb.max, (vx::Vector3 {1000, 1000, 1000}));
    EXPECT_STREQ(root->name.c_str(), "house");
    EXPECT_EQ(root->data.Lod, 2);
    EXPECT_EQ(root->data.chain, 0);
    EXPECT_FALSE(root->fromGeometryNode);
    EXPECT_FALSE(root->IsInDB());
}

TEST(DesignRoot, LodWithoutPropertiesFollowsTheOptionThenTheBox)
{
    const auto box = [](float x, float y, float z) { return ZR::Aabb {{0, 0, 0}, {x, y, z}, true}; };
    EXPECT_EQ(vx::LodTypeWithoutProperties(0, box(10, 10, 10)), 0);
    EXPECT_EQ(vx::LodTypeWithoutProperties(1, box(10, 10, 10)), 1);
    EXPECT_EQ(vx::LodTypeWithoutProperties(2, box(10, 10, 10)), 2);
    EXPECT_EQ(vx::LodTypeWithoutProperties(-1, box(10, 10, 10)), 0);
    EXPECT_EQ(vx::LodTypeWithoutProperties(3, box(2, 2, 2)), 1);
    EXPECT_EQ(vx::LodTypeWithoutProperties(3, box(0.5f, 0.5f, 0.5f)), 2);
    EXPECT_EQ(vx::LodTypeWithoutProperties(3, box(100, 0.05f, 0.05f)), 2);
    EXPECT_EQ(vx::LodTypeWithoutProperties(3, ZR::Aabb {}), 0);
}

TEST(SceneContext, StartsInMillimetresAndTakesTheHostUnit)
{
    vx::SceneContext context;
    EXPECT_EQ(context.scaleFactor, 0.001f);
    EXPECT_EQ(context.liveNodeCount, 0);
    EXPECT_TRUE(context.SetUnitScale(4));
    EXPECT_EQ(context.scaleFactor, 0.01f);
    EXPECT_FALSE(context.SetUnitScale(5));
    EXPECT_EQ(context.scaleFactor, 1.0f);
    EXPECT_FALSE(context.SetUnitScale(-3));
    EXPECT_EQ(context.scaleFactor, 1.0f);
}

TEST(SceneContext, EmptiesItsRunTablesInOrder)
{
    std::vector<int> cleared;
    struct Table : vx::RunTable {
        Table(std::vector<int>& log, int id)
            : log(log)
            , id(id)
        {
        }
        void Clear() override { log.push_back(id); }
        std::vector<int>& log;
        int id;
    };
    vx::SceneContext context;
    context.AddRunTable(std::make_unique<Table>(cleared, 1));
    context.AddRunTable(std::make_unique<Table>(cleared, 2));
    context.EmptyRunTables();
    EXPECT_EQ(cleared, (std::vector<int> {1, 2}));
}

class RecordingPass final : public vx::IModule {
public:
    RecordingPass(std::vector<int>& runs, int id)
        : runs_(runs)
        , id_(id)
    {
    }
    bool Run() override
    {
        runs_.push_back(id_);
        Log("pass " + std::to_string(id_) + ";", true);
        return true;
    }

private:
    std::vector<int>& runs_;
    int id_;
};

TEST(ModuleManager, RunsEnabledPassesInOrderWithoutTheOptimiser)
{
    std::vector<int> runs;
    vx::ModuleManager manager;
    for (int id = 0; id < 3; ++id)
        ASSERT_TRUE(manager.AddPass(std::make_unique<RecordingPass>(runs, id)));

    EXPECT_EQ(manager.RunEnableBits(true), 0b111u);
    EXPECT_EQ(manager.RunEnableBits(false), 0b110u);
    manager.Run(manager.RunEnableBits(false));
    EXPECT_EQ(runs, (std::vector<int> {1, 2}));
    EXPECT_EQ(manager.GetMessages().GetText(), "pass 1;pass 2;");

    // Each run starts with an empty message text; bits beyond the passes are ignored.
    manager.Run(0xFFu);
    EXPECT_EQ(manager.GetMessages().GetText(), "pass 0;pass 1;pass 2;");
}

TEST(ModuleManager, HoldsAtMostEightPasses)
{
    std::vector<int> runs;
    vx::ModuleManager manager;
    EXPECT_EQ(manager.RunEnableBits(false), 0u);
    for (int id = 0; id < vx::ModuleManager::MAX_PASSES; ++id)
        EXPECT_TRUE(manager.AddPass(std::make_unique<RecordingPass>(runs, id)));
    EXPECT_FALSE(manager.AddPass(std::make_unique<RecordingPass>(runs, 8)));
    EXPECT_FALSE(manager.AddPass(nullptr));
    EXPECT_EQ(manager.PassCount(), 8);
    EXPECT_EQ(manager.RunEnableBits(true), 0xFFu);
}

TEST(TargetReplacement, TellsWhichTargetsCanBeReplaced)
{
    vxtest::TempDir dir;
    const std::string file = dir.File("house.vx");
    EXPECT_TRUE(vx::CanReplaceTarget(file)) << "missing file";
    std::ofstream(file) << "old";
    EXPECT_TRUE(vx::CanReplaceTarget(file)) << "plain file";
    {
        vx::DFile reader;
        ASSERT_TRUE(reader.OpenRead(file.c_str()));
        EXPECT_TRUE(vx::CanReplaceTarget(file)) << "file open for reading";
    }
    {
        vx::DFile holder;
        ASSERT_TRUE(holder.CreateNew(file.c_str()));
        EXPECT_FALSE(vx::CanReplaceTarget(file)) << "file held exclusively";
    }
    EXPECT_FALSE(vx::CanReplaceTarget(dir.Path().string())) << "folder";
    EXPECT_FALSE(vx::CanReplaceTarget("")) << "empty path";
}

TEST(TargetReplacement, TemporaryFileIsRemovedUnlessMovedIntoPlace)
{
    vxtest::TempDir dir;
    const std::string target = dir.File("house.vx");
    std::string kept;
    {
        vx::TemporaryTarget temporary(target);
        kept = temporary.Path();
        EXPECT_EQ(std::filesystem::path(kept).parent_path(), dir.Path());
        EXPECT_EQ(std::filesystem::path(kept).filename().string().rfind(".house.vx-", 0), 0u);
        EXPECT_TRUE(std::filesystem::exists(kept));
    }
    EXPECT_FALSE(std::filesystem::exists(kept));

    std::ofstream(target) << "old";
    {
        vx::TemporaryTarget temporary(target);
        std::ofstream(temporary.Path()) << "new";
        EXPECT_TRUE(temporary.MoveIntoPlace());
        EXPECT_FALSE(temporary.MoveIntoPlace());
    }
    std::ifstream in(target);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    EXPECT_THROW(vx::TemporaryTarget(dir.File("missing/house.vx")), std::runtime_error);
}

} // namespace
