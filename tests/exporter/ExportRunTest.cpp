// The export run driven end to end through DoExport on the memory host.

#include "ExportTestSupport.h"

#include "exporter/ExportTexts.h"
#include "exporter/VNX30MaxExporter.h"
#include "run/NodeProgressHook.h"
#include "run/RunPhaseHook.h"
#include "run/SceneContext.h"

#include "base/DFile.h"
#include "database/DesignDatabase.h"
#include "database/SqlWriter.h"
#include "database/SqliteDatabase.h"
#include "memoryhost/MemoryHost.h"
#include "support/DebugCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <bit>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using vx::ExportStatus;
using vxtest::Database;
using vxtest::ReadBytes;
using vxtest::ReadLogLines;

constexpr const char* kPrevious = "the previous export";

class ExportRunTest : public ::testing::Test {
protected:
    void SetUp() override { host.SetUiDriver(&driver); }

    int Export(bool suppressPrompts = true)
    {
        return exporter.DoExport(target.c_str(), &host, suppressPrompts);
    }
    std::string LogPath() const { return target + ".log"; }
    std::vector<std::string> Log() const { return ReadLogLines(LogPath()); }
    std::vector<std::string> TemporaryFiles() const
    {
        return vxtest::FilesStartingWith(dir.Path().string(), ".house.vx-");
    }
    std::string VersionGuid() const
    {
        return Database(target).Column("SELECT guid FROM CurrentVersion;").at(0);
    }

    // Gives the design root a component placing an object with one triangle, so that the run has
    // an object to write.
    void AddObjectToDesign()
    {
        Chain([](const std::string& title) {
            if (title != vx::kTitleCollecting)
                return;
            ZR::Design& design = vx::CurrentSceneContext()->design;
            ZR::CompositeObject* part = design.FindOrCreate(vx::DUniqueID::NewSequential()).record;
            part->name.Assign("piece");
            part->data.Lod = 2;
            auto vd = vx::MakeVMRef<vx::VMVertexData>();
            vd->SetPrimitiveType(vx::VMVertexData::TRIANGLE_LIST);
            vd->SetVertexCount(3);
            vd->SetPosition(0, {0, 0, 0});
            vd->SetPosition(1, {1, 0, 0});
            vd->SetPosition(2, {0, 1, 0});
            vd->SetIndexCount(3);
            for (int i = 0; i < 3; ++i)
                vd->SetIndex(i, static_cast<uint16_t>(i));
            ZR::ModelPair& pair = part->data.Model.pairs.Append();
            pair.vd = vd;
            pair.rs = vx::MakeVMRef<vx::VMRenderState>();
            design.Root()->AddComponent(part, vx::DUniqueID::NewSequential());
        });
    }
    // Records failed objects while the design is written.
    void FailObjects(std::vector<std::string> names)
    {
        Chain([names](const std::string& title) {
            if (title == vx::kTitleWriting) {
                for (const std::string& name : names)
                    vx::CurrentExporter()->AddFailedObject(name.c_str());
            }
        });
    }
    void Chain(std::function<void(const std::string&)> hook)
    {
        auto previous = driver.onProgressStart;
        driver.onProgressStart = [previous, hook](const std::string& title) {
            if (previous)
                previous(title);
            hook(title);
        };
    }

    vxtest::TempDir dir;
    std::string target = dir.File("house.vx");
    vxtest::HookedUiDriver driver;
    vx::MemoryHost host;
    vx::VNX30MaxExporter exporter;
};

TEST_F(ExportRunTest, EmptySceneKeepsThePreviousTargetAndReportsNoValidObjectsInTheLog)
{
    vxtest::WriteBytes(target, kPrevious);
    EXPECT_EQ(Export(), vx::kExportResultDone);

    const vx::ExportOutcome& outcome = exporter.LastOutcome();
    EXPECT_EQ(outcome.status, ExportStatus::NoValidObjects);
    EXPECT_FALSE(outcome.targetReplaced);
    EXPECT_EQ(outcome.logPath, LogPath());
    EXPECT_EQ(Log(),
        (std::vector<std::string> {"Scaling factor: 1.00000", "Export as single object: yes",
            "The following object can be imported as library object:", "house",
            "The target file was not replaced.", "No valid objects have been found."}));
    EXPECT_TRUE(driver.boxes.empty());
    EXPECT_EQ(driver.dialogs, 0);
    // An empty design replaces nothing: the previous export stays, and nothing is left beside it.
    EXPECT_TRUE(ReadBytes(target) == std::string(kPrevious));
    EXPECT_FALSE(std::filesystem::exists(target + "-journal"));
    EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(ExportRunTest, PromptedRunShowsTheDialogAndTheNoValidObjectsBox)
{
    EXPECT_EQ(Export(false), vx::kExportResultDone);

    EXPECT_EQ(driver.dialogs, 1);
    EXPECT_EQ(driver.boxes, std::vector<std::string> {"Error: No valid objects have been found."});
    EXPECT_EQ(Log().size(), 5u);
    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::NoValidObjects);
}

TEST_F(ExportRunTest, ScalingFactorLineFollowsTheHostUnit)
{
    const struct {
        int unit;
        const char* line;
    } cases[] = {
        {vx::kHostUnitMeters, "Scaling factor: 1.00000"},
        {vx::kHostUnitMillimeters, "Scaling factor: 0.00100000"},
        {vx::kHostUnitCentimeters, "Scaling factor: 0.0100000"},
        {vx::kHostUnitKilometers, "Scaling factor: 1000.00"},
        {42, "Scaling factor: 1.00000"},
    };
    for (const auto& c : cases) {
        host.SetMasterUnit({c.unit, 1.0});
        Export();
        const std::vector<std::string> log = Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log[0], c.line) << "unit " << c.unit;
    }
}

TEST_F(ExportRunTest, RunSetsItsOptionValuesAndWritesTheRootKeys)
{
    vx::MemoryNode& root = host.GetRoot();
    root.SetUserPropBool("OptGeom", true);
    exporter.lodType = 7;
    exporter.singleObject = false;
    exporter.shareEqualData = false;
    exporter.opacityCutoff = 0.5f;
    exporter.exportAnimationData = true;

    Export();

    int lodType = 0;
    bool singleGeometry = false;
    // "LodType" is written with the value the exporter had before the run set its own.
    EXPECT_TRUE(root.GetUserPropInt("LodType", lodType));
    EXPECT_EQ(lodType, 7);
    EXPECT_TRUE(root.GetUserPropBool("SingleGeometry", singleGeometry));
    EXPECT_TRUE(singleGeometry);
    // "OptGeom" never enables the optimiser.
    EXPECT_FALSE(exporter.optimizeGeometry);
    EXPECT_FALSE(exporter.exportAnimationData);
    EXPECT_TRUE(exporter.writeRootInstance);
    EXPECT_TRUE(exporter.keepMissingTextures);
    EXPECT_FALSE(exporter.textureNamesWithExtension);
    EXPECT_EQ(exporter.lodType, 2);
    EXPECT_TRUE(exporter.shareEqualData);
    EXPECT_TRUE(exporter.singleObject);
    EXPECT_TRUE(exporter.singleObjectActive);
    EXPECT_TRUE(exporter.suppressPrompts);
    EXPECT_EQ(std::bit_cast<uint32_t>(exporter.opacityCutoff), 0x3F72F1AAu);
    EXPECT_EQ(exporter.host, &host);
    EXPECT_EQ(exporter.rootNode, &root);
}

TEST_F(ExportRunTest, FirstRunOfANewExporterWritesLodTypeTwo)
{
    Export();
    int lodType = 0;
    EXPECT_TRUE(host.GetRoot().GetUserPropInt("LodType", lodType));
    EXPECT_EQ(lodType, 2);
}

TEST_F(ExportRunTest, SecondExportReplacesTheTargetWithANewVersion)
{
    vxtest::WriteBytes(target, kPrevious);
    AddObjectToDesign();
    Export();
    EXPECT_TRUE(exporter.LastOutcome().targetReplaced);
    const std::string first = VersionGuid();
    Export();
    const std::string second = VersionGuid();
    EXPECT_NE(first, second);
    EXPECT_NE(second, "NULL");
    EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(ExportRunTest, TargetInUseIsReportedOnceAndLeftAlone)
{
    enum class Holder { Directory, ExclusiveLock };
    for (const Holder holder : {Holder::Directory, Holder::ExclusiveLock}) {
        // The box keeps its text; the log and the outcome add what the system found.
        const std::string reason
            = holder == Holder::Directory ? "the target is a folder" : "another program holds the target";
        for (const bool suppress : {true, false}) {
            SCOPED_TRACE(
                testing::Message() << "holder " << static_cast<int>(holder) << " suppress " << suppress);
            std::filesystem::remove_all(target);
            driver.boxes.clear();
            vx::DFile lock;
            if (holder == Holder::Directory) {
                std::filesystem::create_directory(target);
            } else {
                ASSERT_TRUE(lock.CreateNew(target.c_str()));
                ASSERT_EQ(lock.WriteLine(kPrevious, false), std::string(kPrevious).size() + 1);
            }

            EXPECT_EQ(Export(suppress), vx::kExportResultDone);

            EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::TargetInUse);
            EXPECT_FALSE(exporter.LastOutcome().targetReplaced);
            EXPECT_EQ(exporter.LastOutcome().detail, reason);
            if (suppress) {
                EXPECT_EQ(Log(),
                    (std::vector<std::string> {"File is in use by another process.", "Reason: " + reason}));
                EXPECT_TRUE(driver.boxes.empty());
            } else {
                EXPECT_EQ(Log(), std::vector<std::string> {"Reason: " + reason});
                EXPECT_EQ(
                    driver.boxes, std::vector<std::string> {"Error: File is in use by another process."});
            }
            if (holder == Holder::Directory)
                EXPECT_TRUE(std::filesystem::is_directory(target));
            else
                EXPECT_TRUE(ReadBytes(target) == std::string(kPrevious) + "\n");
            EXPECT_TRUE(TemporaryFiles().empty());
        }
    }
}

TEST_F(ExportRunTest, FolderThatCannotBeWrittenMakesTheTargetInUse)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser may write every folder";
    const std::string folder = dir.File("locked");
    std::filesystem::create_directory(folder);
    target = folder + "/house.vx";
    vxtest::WriteBytes(target, kPrevious);
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);

    Export();

    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::TargetInUse);
    EXPECT_TRUE(ReadBytes(target) == std::string(kPrevious));
}

TEST_F(ExportRunTest, CancellationKeepsThePreviousTarget)
{
    AddObjectToDesign();
    // Cancelled before the writing starts, and while the design is written.
    for (const int cancelAfter : {0, 1}) {
        SCOPED_TRACE(cancelAfter);
        vxtest::WriteBytes(target, kPrevious);
        vxtest::HookedUiDriver cancelling;
        cancelling.cancelAfter = cancelAfter;
        cancelling.onProgressStart = driver.onProgressStart;
        host.SetUiDriver(&cancelling);

        EXPECT_EQ(Export(false), vx::kExportResultDone);

        EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::Cancelled);
        EXPECT_FALSE(exporter.LastOutcome().targetReplaced);
        EXPECT_TRUE(ReadBytes(target) == std::string(kPrevious));
        const std::vector<std::string> log = Log();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], "Export was cancelled by user.");
        EXPECT_EQ(log.back(), "The target file was not replaced.");
        EXPECT_EQ(cancelling.boxes,
            std::vector<std::string> {"Info: Done.\r\n\r\nLog file written to: " + LogPath()});
        EXPECT_TRUE(TemporaryFiles().empty());
        host.SetUiDriver(&driver);
    }
}

TEST_F(ExportRunTest, FailedCommitStampsNothingAndKeepsThePreviousTarget)
{
    Export();
    const std::optional<std::string> previous = ReadBytes(target);

    // A reader that holds the new database open keeps the writer from committing.
    sqlite3* reader = nullptr;
    driver.onProgressStart = [&](const std::string& title) {
        if (title != vx::kTitleWriting)
            return;
        std::string database;
        for (const std::string& name : TemporaryFiles()) {
            if (name.find("-journal") == std::string::npos)
                database = name;
        }
        ASSERT_FALSE(database.empty());
        ASSERT_EQ(sqlite3_open(dir.File(database).c_str(), &reader), SQLITE_OK);
        ASSERT_EQ(
            sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM Guids;", nullptr, nullptr, nullptr), SQLITE_OK);
    };

    EXPECT_EQ(Export(false), vx::kExportResultDone);
    sqlite3_close(reader);

    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::Failed);
    EXPECT_FALSE(exporter.LastOutcome().targetReplaced);
    EXPECT_TRUE(ReadBytes(target) == previous);
    const std::vector<std::string> log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], "Error: the design database could not be committed.");
    // The database's own reason follows, in the log and in the outcome.
    EXPECT_EQ(log[log.size() - 2], "Reason: database is locked");
    EXPECT_EQ(log.back(), "The target file was not replaced.");
    EXPECT_EQ(
        exporter.LastOutcome().detail, "the design database could not be committed: database is locked");
    EXPECT_EQ(driver.boxes,
        std::vector<std::string> {"Error: The design database could not be committed.\r\n\r\n"
                                  "The target file was not replaced."});
    EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(ExportRunTest, WrittenDesignRootIsALibraryObjectAndTheRunEndsWithInfo)
{
    AddObjectToDesign();
    EXPECT_EQ(Export(false), vx::kExportResultDone);

    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::Succeeded);
    EXPECT_EQ(
        driver.boxes, std::vector<std::string> {"Info: Done.\r\n\r\nLog file written to: " + LogPath()});
    EXPECT_EQ(
        driver.progressTitles, (std::vector<std::string> {"Collecting objects...", "Writing objects..."}));
    // Collecting: the root node's conversion is 1 of 1 nodes; writing: 0, the root's one instance,
    // then the root itself (2 steps).
    EXPECT_EQ(driver.percents, (std::vector<int> {100, 0, 50, 100}));

    Database db(target);
    EXPECT_EQ(db.Column("SELECT name || ' ' || aabb_min_x || ' ' || aabb_max_z || ' ' || lod_id || ' ' || "
                        "ifnull(explode, 'NULL') "
                        "|| ' ' || ifnull(chain, 'NULL') || ' ' || ifnull(traceable, 'NULL') "
                        "|| ' ' || ifnull(geometry_scale_z, 'NULL') FROM CompositeObjects ORDER BY luid;"),
        (std::vector<std::string> {"- no name - -1000.0 1000.0 0 NULL NULL NULL NULL",
            "house -1000.0 1000.0 2 0 NULL NULL NULL", "piece 0.0 0.0 2 0 2 NULL 1.0"}));
    EXPECT_EQ(db.Column("SELECT d.name || ' ' || d.type || ' ' || p.value FROM Properties p "
                        "JOIN PropertyDictionary d ON d.luid = p.propdic_luid;"),
        std::vector<std::string> {"ImportTemplate 257 Release"});
    // A complete database: every table of the format, the fixed dictionary, a stamped version.
    EXPECT_EQ(
        db.Integer("SELECT count(*) FROM sqlite_master WHERE type='table' AND name<>'sqlite_sequence';"), 31);
    EXPECT_EQ(db.Integer("SELECT count(*) FROM PropertyDictionary WHERE luid <= 15;"), 15);
    EXPECT_EQ(db.Column("SELECT length(guid) FROM CurrentVersion;"), std::vector<std::string> {"16"});
    EXPECT_EQ(db.Column("PRAGMA encoding;"), std::vector<std::string> {"UTF-16le"});
    EXPECT_FALSE(std::filesystem::exists(target + "-journal"));
    EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(ExportRunTest, FailedObjectsAreReportedInTheLogTheBoxAndTheOutcome)
{
    AddObjectToDesign();
    FailObjects({"Chair", ""});
    Export(false);

    const vx::ExportOutcome& outcome = exporter.LastOutcome();
    EXPECT_EQ(outcome.status, ExportStatus::FinishedWithFailures);
    EXPECT_EQ(outcome.failedNames, (std::vector<std::string> {"Chair", "- no name -"}));
    EXPECT_TRUE(outcome.targetReplaced);
    const std::vector<std::string> log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
        (std::vector<std::string> {"Failed objects:", "Chair", "- no name -"}));
    EXPECT_EQ(driver.boxes,
        std::vector<std::string> {
            "Warning: 2 objects could not be converted.\r\n\r\nFailed object names written to: "
            + LogPath()});
    EXPECT_EQ(exporter.failedCount, 0);
    EXPECT_TRUE(exporter.failedNames.IsEmpty());
}

TEST_F(ExportRunTest, MissingTargetFolderFailsWithAReasonAndCreatesNothing)
{
    target = dir.File("missing/deeper/house.vx");

    EXPECT_EQ(Export(), vx::kExportResultException);

    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::Failed);
    EXPECT_NE(exporter.LastOutcome().detail.find("cannot create a temporary file beside " + target),
        std::string::npos)
        << exporter.LastOutcome().detail;
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST_F(ExportRunTest, ARefusedRowCostsItsObjectNotTheDesign)
{
    vxtest::WriteBytes(target, kPrevious);
    AddObjectToDesign();
    AddObjectToDesign();
    // The first placed object's instance row is refused, as a constraint would refuse it.
    Chain([](const std::string& title) {
        if (title == vx::kTitleWriting)
            vx::CurrentSqlWriter()->GetDatabase().Exec(
                "CREATE TEMP TRIGGER refuse BEFORE INSERT ON ObjectInstances WHEN NEW.object_luid = "
                "(SELECT min(luid) FROM CompositeObjects WHERE name = 'piece') "
                "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    });
    vxtest::DebugCapture debug;
    EXPECT_EQ(Export(false), vx::kExportResultDone);

    const vx::ExportOutcome& outcome = exporter.LastOutcome();
    EXPECT_EQ(outcome.status, ExportStatus::FinishedWithFailures);
    EXPECT_TRUE(outcome.targetReplaced);
    EXPECT_EQ(outcome.failedNames, std::vector<std::string> {"- no name -"});
    ASSERT_EQ(driver.boxes.size(), 1u);
    EXPECT_EQ(driver.boxes[0].rfind("Warning: 1 objects could not be converted.", 0), 0u) << driver.boxes[0];
    // The other object and the design around it are written: its instance and the root instance.
    EXPECT_EQ(Database(target).Integer("SELECT count(*) FROM ObjectInstances;"), 2);
    EXPECT_NE(debug.Text().find("SQLITE3 ERROR: {refused}"), std::string::npos) << debug.Text();
}

TEST_F(ExportRunTest, LeftoversOfKilledRunsAreRemovedAndOnlyThose)
{
    // A killed run left its temporary file and journal; a live run holds its own locked; other
    // names only look alike.
    for (const char* name : {".house.vx-dead01", ".house.vx-dead01-journal", ".house.vx-gone01-journal",
             ".house.vx-live01", ".other.vx-dead02", ".house.vx-toolong", "house.vx-dead03"})
        vxtest::WriteBytes(dir.File(name), "leftover");
    const int live = ::open(dir.File(".house.vx-live01").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX | LOCK_NB), 0);
    AddObjectToDesign();
    Export();
    ::close(live);

    EXPECT_TRUE(exporter.LastOutcome().targetReplaced);
    EXPECT_FALSE(std::filesystem::exists(dir.File(".house.vx-dead01")));
    EXPECT_FALSE(std::filesystem::exists(dir.File(".house.vx-dead01-journal")));
    EXPECT_FALSE(std::filesystem::exists(dir.File(".house.vx-gone01-journal")))
        << "a journal without its file";
    for (const char* kept : {".house.vx-live01", ".other.vx-dead02", ".house.vx-toolong", "house.vx-dead03"})
        EXPECT_TRUE(std::filesystem::exists(dir.File(kept))) << kept;
}

TEST_F(ExportRunTest, ATargetNameNearTheFileNameLimitExports)
{
    // 248 characters: ".<name>-XXXXXX" would pass the 255 a file name may have, so the temporary
    // file takes a short name; the log's name (252) still fits.
    target = dir.File(std::string(245, 'n') + ".vx");
    AddObjectToDesign();
    EXPECT_EQ(Export(), vx::kExportResultDone);
    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::Succeeded);
    EXPECT_TRUE(exporter.LastOutcome().targetReplaced);
    EXPECT_EQ(Database(target).Integer("SELECT count(*) FROM Roots;"), 1);
    EXPECT_TRUE(vxtest::FilesStartingWith(dir.Path().string(), ".vx-").empty());
}

TEST_F(ExportRunTest, AnSqliteClientHoldingTheTargetKeepsItInUse)
{
    // A client in a transaction on the previous target, from before the run or from its middle:
    // the target is in use, and the client's work lands in the file it holds.
    AddObjectToDesign();
    Export();
    ASSERT_TRUE(exporter.LastOutcome().targetReplaced);
    // Outlive the loop: the hook that takes the lock stays with the driver.
    sqlite3* client = nullptr;
    const auto hold = [&] {
        ASSERT_EQ(sqlite3_open(target.c_str(), &client), SQLITE_OK);
        ASSERT_EQ(
            sqlite3_exec(client, "BEGIN EXCLUSIVE; CREATE TABLE ClientNotes (n);", nullptr, nullptr, nullptr),
            SQLITE_OK);
    };
    bool holdWhileWriting = false;
    Chain([&](const std::string& title) {
        if (title == vx::kTitleWriting && holdWhileWriting) {
            holdWhileWriting = false;
            hold();
        }
    });
    for (const bool duringTheRun : {false, true}) {
        SCOPED_TRACE(duringTheRun ? "taken during the run" : "held before the run");
        holdWhileWriting = duringTheRun;
        if (!duringTheRun)
            hold();
        Export();

        EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::TargetInUse);
        EXPECT_EQ(exporter.LastOutcome().detail, "an SQLite client holds the target");
        EXPECT_FALSE(exporter.LastOutcome().targetReplaced);
        EXPECT_EQ(sqlite3_exec(client, "COMMIT;", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(client);
        EXPECT_EQ(
            Database(target).Integer("SELECT count(*) FROM sqlite_master WHERE name = 'ClientNotes';"), 1);
        EXPECT_TRUE(TemporaryFiles().empty());
        sqlite3* cleaner = nullptr;
        ASSERT_EQ(sqlite3_open(target.c_str(), &cleaner), SQLITE_OK);
        sqlite3_exec(cleaner, "DROP TABLE ClientNotes;", nullptr, nullptr, nullptr);
        sqlite3_close(cleaner);
    }
}

TEST_F(ExportRunTest, FailedObjectsWithoutALogReachTheOutcome)
{
    // Another holder keeps the log from being created.
    vx::DFile logHolder;
    ASSERT_TRUE(logHolder.CreateNew(LogPath().c_str()));
    AddObjectToDesign();
    FailObjects({"Chair"});

    for (const bool suppress : {true, false}) {
        driver.boxes.clear();
        Export(suppress);
        const vx::ExportOutcome& outcome = exporter.LastOutcome();
        EXPECT_EQ(outcome.status, ExportStatus::FinishedWithFailures);
        EXPECT_EQ(outcome.failedNames, std::vector<std::string> {"Chair"});
        EXPECT_TRUE(outcome.logPath.empty());
        if (suppress)
            EXPECT_TRUE(driver.boxes.empty());
        else
            EXPECT_EQ(driver.boxes, std::vector<std::string> {"Warning: 1 objects could not be converted."});
    }
}

TEST_F(ExportRunTest, ExceptionLeavesThePreviousTargetAndTheNextRunWorks)
{
    vxtest::WriteBytes(target, kPrevious);
    driver.onProgressStart = [](const std::string& title) {
        if (title == vx::kTitleCollecting)
            throw std::runtime_error("host failure");
    };

    EXPECT_EQ(Export(), vx::kExportResultException);

    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::Failed);
    EXPECT_EQ(exporter.LastOutcome().detail, "host failure");
    EXPECT_TRUE(ReadBytes(target) == std::string(kPrevious));
    EXPECT_TRUE(TemporaryFiles().empty());
    EXPECT_EQ(Log(),
        (std::vector<std::string> {
            "Error: the export failed: host failure", "The target file was not replaced."}));
    EXPECT_EQ(vx::CurrentSceneContext(), nullptr);

    driver.onProgressStart = nullptr;
    AddObjectToDesign();
    EXPECT_EQ(Export(), vx::kExportResultDone);
    EXPECT_TRUE(exporter.LastOutcome().targetReplaced);
    EXPECT_EQ(Database(target).Integer("SELECT count(*) FROM CurrentVersion WHERE guid IS NOT NULL;"), 1);
}

TEST_F(ExportRunTest, ExceptionWhileWritingShowsTheFailureAndKeepsThePreviousTarget)
{
    vxtest::WriteBytes(target, kPrevious);
    driver.onProgressStart = [](const std::string& title) {
        if (title == vx::kTitleWriting)
            throw std::runtime_error("writing failure");
    };

    EXPECT_EQ(Export(false), vx::kExportResultDone);

    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::Failed);
    EXPECT_EQ(exporter.LastOutcome().detail, "writing failure");
    // The failure is named, never "Done" nor a search that found nothing.
    EXPECT_EQ(driver.boxes,
        std::vector<std::string> {
            "Error: The export failed: writing failure\r\n\r\nThe target file was not replaced."});
    EXPECT_TRUE(ReadBytes(target) == std::string(kPrevious));
    const std::vector<std::string> log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "Error: the export failed: writing failure");
    EXPECT_EQ(log.back(), "The target file was not replaced.");
}

TEST_F(ExportRunTest, DesignNameComesFromTheTargetFileTitle)
{
    const struct {
        const char* file;
        const char* name;
    } cases[] = {
        {".vx", "- no name -"},
        {"plan.final.vx", "plan"},
        {"house.vx", "house"},
    };
    for (const auto& c : cases) {
        target = dir.File(c.file);
        Export();
        const std::vector<std::string> log = Log();
        ASSERT_EQ(log.size(), 6u) << c.file;
        EXPECT_EQ(log[3], c.name) << c.file;
    }
}

TEST_F(ExportRunTest, SavedSceneNamesTheRootRecord)
{
    host.SetSceneFile("/scenes/villa.max");
    AddObjectToDesign();
    Export();
    EXPECT_EQ(Database(target).Column(
                  "SELECT name FROM CompositeObjects WHERE luid = (SELECT object_luid FROM Roots);"),
        std::vector<std::string> {"villa"});
}

TEST_F(ExportRunTest, ProgressHookCountsNodesAfterTheRun)
{
    Export();
    ASSERT_NE(vx::NodeProgressHook(), nullptr);
    EXPECT_EQ(vx::CurrentExporter(), &exporter);
    EXPECT_EQ(vx::CurrentSceneContext(), nullptr);

    exporter.progressTotal = 4;
    exporter.progressCount = 0;
    driver.percents.clear();
    vx::NodeProgressHook()();
    EXPECT_EQ(exporter.progressCount, 1);
    EXPECT_EQ(driver.percents, std::vector<int> {25});
}

TEST_F(ExportRunTest, PhaseHookHearsTheBoundariesTheRunReaches)
{
    using vx::RunPhase;
    struct Heard {
        std::vector<RunPhase> phases;
        static void Note(void* context, RunPhase phase)
        {
            static_cast<Heard*>(context)->phases.push_back(phase);
        }
    };
    const std::vector<RunPhase> complete {RunPhase::Started, RunPhase::ScenePassesRun, RunPhase::TreeBuilt,
        RunPhase::DatabaseOpened, RunPhase::Converted, RunPhase::Written, RunPhase::Committed,
        RunPhase::Released};
    struct Restore {
        vx::RunPhaseHook saved = vx::CurrentRunPhaseHook();
        ~Restore() { vx::CurrentRunPhaseHook() = saved; }
    };
    Heard heard;
    const Restore restore;
    vx::CurrentRunPhaseHook() = {&Heard::Note, &heard};

    AddObjectToDesign();
    Export();
    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::Succeeded);
    EXPECT_EQ(heard.phases, complete);

    // A target in use ends the run before the export tree is built.
    heard.phases.clear();
    std::filesystem::remove_all(target);
    std::filesystem::create_directory(target);
    Export();
    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::TargetInUse);
    EXPECT_EQ(heard.phases, (std::vector<RunPhase> {RunPhase::Started, RunPhase::ScenePassesRun}));

    // The run leaves the hook as it found it.
    EXPECT_EQ(vx::CurrentRunPhaseHook().function, &Heard::Note);
    EXPECT_EQ(vx::CurrentRunPhaseHook().context, &heard);
}

TEST_F(ExportRunTest, NullHostFailsWithoutTouchingAnything)
{
    EXPECT_EQ(exporter.DoExport(target.c_str(), nullptr, true), vx::kExportResultException);
    EXPECT_EQ(exporter.LastOutcome().status, ExportStatus::Failed);
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
}

TEST(ExporterLifetime, DestroyedExporterIsNoLongerCurrent)
{
    {
        vx::VNX30MaxExporter exporter;
        vx::MemoryHost host;
        vxtest::TempDir dir;
        exporter.DoExport(dir.File("a.vx").c_str(), &host, true);
        EXPECT_EQ(vx::CurrentExporter(), &exporter);
    }
    EXPECT_EQ(vx::CurrentExporter(), nullptr);
}

TEST(ProgressPercent, IsTruncatedAndClamped)
{
    const struct {
        int32_t count;
        int32_t total;
        int percent;
    } cases[] = {
        {0, 3, 0},
        {1, 3, 33},
        {2, 3, 66},
        {3, 3, 100},
        {5, 3, 100},
        {-1, 3, 0},
        {INT32_MAX, 1, 100},
        {0, 0, 0},
        {1, 0, 0},
        {1, -5, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vx::ProgressPercent(c.count, c.total), c.percent) << c.count << " / " << c.total;
}

} // namespace
