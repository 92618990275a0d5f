// Fault injection over a whole export of the example scene: every write, sync or truncate of the
// database, and a spread of SQLite's allocations, fails in turn. A run that meets a fault must
// say so (never Succeeded), keep the previous target byte for byte and leave no temporary file; a
// run that reports success must have written the complete database.

#include "ExportTestSupport.h"

#include "exporter/ExportTexts.h"
#include "exporter/VNX30MaxExporter.h"
#include "scenefile/SceneFileLoader.h"
#include "support/FaultVfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using vx::ExportStatus;

std::string HouseScene()
{
    const char* dir = std::getenv("VX_SOURCE_DIR");
    const std::filesystem::path source = dir
        ? std::filesystem::path(dir)
        : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    return (source / "examples" / "house" / "house.json").string();
}

// Row counts of every table, or nothing when the file is not a sound database.
std::optional<std::map<std::string, int64_t>> CountRows(const std::string& path)
{
    vxtest::Database db(path);
    const std::vector<std::string> integrity = db.Column("PRAGMA integrity_check;");
    if (integrity != std::vector<std::string> {"ok"})
        return std::nullopt;
    std::map<std::string, int64_t> counts;
    for (const std::string& table : db.Column("SELECT name FROM sqlite_master WHERE type = 'table';"))
        counts[table] = db.Integer("SELECT count(*) FROM [" + table + "];");
    return counts;
}

class FaultSweep : public ::testing::Test {
protected:
    // One export of a freshly loaded example scene, without prompts.
    ExportStatus Export()
    {
        vx::SceneLoadResult loaded = vx::LoadSceneFile(HouseScene());
        EXPECT_TRUE(loaded.scene) << (loaded.error ? loaded.error->message : "");
        if (!loaded.scene)
            return ExportStatus::NotRun;
        exporter.DoExport(target.c_str(), loaded.scene.get(), 1);
        return exporter.LastOutcome().status;
    }
    // Exports once without faults; the result is the previous target of the sweep.
    void ExportPrevious()
    {
        ASSERT_EQ(Export(), ExportStatus::Succeeded) << exporter.LastOutcome().detail;
        previous = vxtest::ReadBytes(target);
        ASSERT_TRUE(previous);
        const auto counts = CountRows(target);
        ASSERT_TRUE(counts);
        cleanCounts = *counts;
    }
    // What must hold after a run that met a fault at the given step (SQLite gets over some faults
    // by itself, so a run may still succeed).
    void CheckRun(ExportStatus status, const std::string& step)
    {
        SCOPED_TRACE(step);
        EXPECT_TRUE(vxtest::FilesStartingWith(dir.Path().string(), ".house.vx-").empty());
        if (status == ExportStatus::Succeeded) {
            const auto counts = CountRows(target);
            ASSERT_TRUE(counts);
            // A fresh run has fresh identifiers, so only the counts can be compared. Its database
            // is the previous target of the next run.
            EXPECT_EQ(*counts, cleanCounts);
            previous = vxtest::ReadBytes(target);
            return;
        }
        EXPECT_EQ(status, ExportStatus::Failed);
        EXPECT_FALSE(exporter.LastOutcome().targetReplaced);
        EXPECT_FALSE(exporter.LastOutcome().detail.empty());
        EXPECT_TRUE(vxtest::ReadBytes(target) == previous);
        // The log says why and that the target was kept (the run's closing lines may follow).
        const std::vector<std::string> log = vxtest::ReadLogLines(target + ".log");
        EXPECT_NE(std::find(log.begin(), log.end(), std::string(vx::kLogTargetKept)), log.end());
        EXPECT_NE(std::find_if(log.begin(), log.end(),
                      [](const std::string& line) { return line.rfind("Error: ", 0) == 0; }),
            log.end());
    }

    vxtest::TempDir dir;
    std::string target = dir.File("house.vx");
    vx::VNX30MaxExporter exporter;
    std::optional<std::string> previous;
    std::map<std::string, int64_t> cleanCounts;
};

TEST_F(FaultSweep, EveryFailedWriteSyncOrTruncateKeepsThePreviousTarget)
{
    vxtest::FaultVfs vfs;
    vfs.FailAt(0, SQLITE_OK);
    ExportPrevious();
    const int64_t operations = vfs.Operations();
    ASSERT_GT(operations, 10);

    int failed = 0;
    for (int64_t n = 1; n <= operations; ++n) {
        // Alternate a full disk with a plain I/O error.
        vfs.FailAt(n, n % 2 ? SQLITE_FULL : SQLITE_IOERR_WRITE);
        const ExportStatus status = Export();
        EXPECT_TRUE(vfs.Fired()) << "operation " << n;
        vfs.FailAt(0, SQLITE_OK); // the checks read the files without faults
        CheckRun(status, "operation " + std::to_string(n) + " of " + std::to_string(operations));
        failed += status != ExportStatus::Succeeded;
    }
    EXPECT_GT(failed, 0);
}

TEST_F(FaultSweep, FailedAllocationsKeepThePreviousTarget)
{
    vxtest::FaultVfs vfs; // no I/O faults: only its quick syncs
    vfs.FailAt(0, SQLITE_OK);
    vxtest::FaultAllocator allocator;
    ASSERT_TRUE(allocator.IsActive());
    allocator.FailAt(0);
    ExportPrevious();
    const int64_t allocations = allocator.Allocations();
    ASSERT_GT(allocations, 10);

    // Every allocation of the first hundred (opening the file and the schema), then about 200
    // spread over the rest (the rows). Each run syncs its log, so the sweep is kept short.
    const int64_t stride = allocations > 300 ? (allocations - 100) / 200 : 1;
    int failed = 0;
    for (int64_t n = 1; n <= allocations; n += n <= 100 ? 1 : stride) {
        allocator.FailAt(n);
        const ExportStatus status = Export();
        allocator.FailAt(0);
        CheckRun(status, "allocation " + std::to_string(n) + " of " + std::to_string(allocations));
        failed += status != ExportStatus::Succeeded;
    }
    EXPECT_GT(failed, 0);
}

} // namespace
