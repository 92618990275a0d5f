// vxinfo summary and the export log beside a database: the failed objects of the run that wrote
// the database are listed; a log that a later run left (it kept the target), that was created or
// last written after the database was finished, or that names another design's objects is said to
// be from another run. A FIFO or a device in place of the database, its journal or its log is never
// opened, and only the end of a long log is read.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"
#include "VxinfoCheck.h"
#include "VxinfoHouse.h"

#include "support/TempDir.h"
#include "vxinfo/FileTail.h"
#include "vxinfo/IdentifierText.h"
#include "vxinfo/SummaryReport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace vxtest {
namespace {

using nlohmann::json;

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The 16 stored bytes of a time-ordered identifier made at the Unix time ms, as the exporter
// stores its version stamp: the first group the high 32 bits, the second the low 16 (little-endian).
std::string StampBytes(int64_t ms)
{
    std::string bytes(16, '\x5A');
    const auto high = static_cast<uint32_t>(ms >> 16);
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(high >> (8 * i));
    bytes[4] = static_cast<char>(ms & 0xFF);
    bytes[5] = static_cast<char>((ms >> 8) & 0xFF);
    bytes[6] = '\x00';
    bytes[7] = '\x70'; // version 7
    bytes[8] = '\x80'; // variant
    return bytes;
}

// Stamps the database at path as finished at the Unix time ms.
void SetStamp(const std::string& path, int64_t ms)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* update = nullptr;
    const std::string stamp = StampBytes(ms);
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_prepare_v2(db, "UPDATE CurrentVersion SET guid = ?;", -1, &update, nullptr), SQLITE_OK);
    sqlite3_bind_blob(update, 1, stamp.data(), 16, SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(update), SQLITE_DONE);
    sqlite3_finalize(update);
    sqlite3_close(db);
}

void SetModified(const std::string& path, int64_t ms)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {ms / 1000, (ms % 1000) * 1000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// An export whose log lists a failed object ("Huge"), templates and library objects, names with a
// tab and a non-ASCII letter among them, and objects stored under other names than the log gives
// (a part, and a template whose equal data another object shares).
struct FailedExport {
    std::string target;
    std::string log; // the run's own log
    int64_t startMs = 0, endMs = 0; // the wall-clock time around the run
    bool ok = false;
};

constexpr const char* kSceneWithAFailure = R"("unit": {"type": "meters"}, "objects": [
  {"id": "tri", "type": "mesh", "mesh": {"vertices": [[0,0,0],[1,0,0],[0,1,0]], "faces": [[0,1,2]]}},
  {"id": "quad", "type": "mesh",
   "mesh": {"vertices": [[0,0,0],[2,0,0],[2,2,0],[0,2,0]], "faces": [[0,1,2],[0,2,3]]}},
  {"id": "huge", "type": "mesh", "mesh": {"vertices": [[0,0,0],[3e38,0,0],[0,1,0]], "faces": [[0,1,2]]}}],
  "nodes": [{"name": "A", "object": "tri"}, {"name": "B", "object": "tri", "transform": {"position": [2,0,0]}},
    {"name": "Leg\tRest", "object": "quad", "transform": {"scale": [1,3,1]}},
    {"name": "T\u00fcr", "object": "quad", "transform": {"position": [0,5,0]}, "userProperties": "VNXScalable Table"},
    {"name": "Valve1", "object": "quad", "transform": {"position": [0,9,0]},
     "userProperties": "VNXPart Valve\r\nVNXScalable Shelf"},
    {"name": "Huge", "object": "huge", "transform": {"scale": [10,1,1]}}])";

FailedExport ExportScene(const TempDir& dir, const std::string& name, const char* mode)
{
    FailedExport e;
    e.target = dir.File(name);
    WriteTextFile(dir.File("scene.json"), MakeSceneText(kSceneWithAFailure));
    e.startMs = NowMs();
    e.ok = RunVxexport({mode, dir.File("scene.json"), e.target}).exitCode == 1;
    e.endMs = NowMs();
    e.log = ReadTextFile(e.target + ".log");
    return e;
}

// The scene exported once per test program in each mode.
const FailedExport& ExportWithAFailedObject(bool single = false)
{
    static TempDir dir;
    static const FailedExport perObject = ExportScene(dir, "plant.vx", "--per-object");
    static const FailedExport singleObject = ExportScene(dir, "plant-single.vx", "--yes");
    return single ? singleObject : perObject;
}

json Summary(const std::string& path)
{
    OpenedDesign design(path);
    EXPECT_EQ(design.openFailure, "");
    return vxinfo::SummaryJson(vxinfo::SummarizeDesign(design.db, design.content));
}

TEST(VxinfoLog, TheLogOfTheRunThatWroteTheFileGivesItsFailedObjects)
{
    for (const bool single : {false, true}) {
        SCOPED_TRACE(single ? "single object" : "per object");
        const FailedExport& e = ExportWithAFailedObject(single);
        ASSERT_TRUE(e.ok) << e.log;
        ASSERT_NE(e.log.find("Template Shelf is based on object Valve1\r\n"), std::string::npos) << e.log;
        const ProcessResult text = RunProgram(VxinfoPath(), {"summary", e.target});
        ASSERT_EQ(text.exitCode, 0) << text.err;
        EXPECT_NE(text.out.find("Failed objects:    1\n  Huge\n"), std::string::npos) << text.out;
        const json s = Summary(e.target);
        EXPECT_EQ(s["failedObjects"], json::array({"Huge"}));
        EXPECT_EQ(s["log"], "read");
        EXPECT_TRUE(s["logNote"].is_null());
        // The stamp reads back as the time the run finished.
        const std::optional<int64_t> stamp = vxinfo::IdentifierMilliseconds(
            ExportedDatabase(e.target).Text("SELECT guid FROM CurrentVersion"));
        ASSERT_TRUE(stamp);
        EXPECT_GE(*stamp, e.startMs);
        EXPECT_LE(*stamp, e.endMs);
    }
    // The library list names Shelf, which the object Table stands for in the database.
    EXPECT_NE(ExportWithAFailedObject().log.find("Leg\\tRest\r\nTable\r\nShelf\r\n"), std::string::npos);
}

TEST(VxinfoLog, ALaterRunThatKeptTheTargetLeftALogOfAnotherRun)
{
    TempDir dir;
    const std::string target = dir.File("plant.vx");
    WriteTextFile(dir.File("scene.json"), MakeSceneText(kSceneWithAFailure));
    ASSERT_EQ(RunVxexport({"--per-object", dir.File("scene.json"), target}).exitCode, 1);
    const std::string design = ReadTextFile(target);
    // An empty scene finds nothing: the run keeps the design but rewrites the log.
    WriteTextFile(dir.File("empty.json"), MakeSceneText());
    RunVxexport({"--yes", dir.File("empty.json"), target});
    ASSERT_EQ(ReadTextFile(target), design);
    const std::string note
        = "the log beside the file is from another run: it says \"The target file was not replaced.\"";
    const ProcessResult text = RunProgram(VxinfoPath(), {"summary", target});
    EXPECT_NE(text.out.find("Failed objects:    - (" + note + ")\n"), std::string::npos) << text.out;
    const ProcessResult asJson = RunProgram(VxinfoPath(), {"summary", "--json", target});
    const json s = json::parse(asJson.out, nullptr, false);
    ASSERT_FALSE(s.is_discarded()) << asJson.out;
    EXPECT_TRUE(s["failedObjects"].is_null());
    EXPECT_EQ(s["log"], "fromAnotherRun");
    EXPECT_EQ(s["logNote"], note);
}

TEST(VxinfoLog, TimesAndNamesTellALogOfAnotherRun)
{
    const FailedExport& e = ExportWithAFailedObject();
    ASSERT_TRUE(e.ok);
    const int64_t hourAgo = NowMs() - 3600 * 1000;
    const std::string otherDesign
        = "Export as single object: no\r\nTemplate Sofa is based on object Sofa01\r\n"
          "The following objects can be imported as library object:\r\nLamp\r\nSofa\r\n"
          "Failed objects:\r\nChair\r\n";
    const struct {
        const char* what;
        std::function<void(const std::string& db, const std::string& log)> arrange;
        std::string note; // "" when the log's failed objects are listed
        bool needsBirthTimes = false;
    } cases[] = {
        {"the run's log, created before the stamp",
            [&](auto& db, auto& log) {
                WriteTextFile(log, e.log);
                SetStamp(db, NowMs());
            },
            ""},
        {"a log created after the stamp",
            [&](auto& db, auto& log) {
                SetStamp(db, NowMs());
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                WriteTextFile(log, e.log);
            },
            "it was created less than 1 s after the database was stamped", true},
        {"a log last written an hour after the stamp",
            [&](auto& db, auto& log) {
                SetStamp(db, hourAgo);
                SetModified(db, hourAgo);
                WriteTextFile(log, e.log);
            },
            "it was last written 60 min after the database was stamped"},
        {"both files copied an hour after the export",
            [&](auto& db, auto& log) {
                SetStamp(db, hourAgo);
                WriteTextFile(log, e.log);
            },
            ""},
        {"both files unpacked with their times an hour after the export",
            [&](auto& db, auto& log) {
                SetStamp(db, hourAgo);
                SetModified(db, hourAgo);
                WriteTextFile(log, e.log);
                SetModified(log, hourAgo + 10);
            },
            ""},
        {"a log naming only objects the design does not hold",
            [&](auto& db, auto& log) {
                WriteTextFile(log, otherDesign);
                SetStamp(db, NowMs());
            },
            "the database holds none of the objects it names: \"Sofa\", \"Sofa01\", \"Lamp\""},
        {"the log of a cancelled run",
            [&](auto& db, auto& log) {
                WriteTextFile(log, "Scaling factor: 1.00000\r\nExport was cancelled by user.\r\n");
                SetStamp(db, NowMs());
            },
            "it says \"Export was cancelled by user.\""},
    };
    TempDir probe;
    WriteTextFile(probe.File("f"), "");
    const bool birthTimes
        = vxinfo::FileTimesAt(probe.File("f")).value_or(vxinfo::FileTimes {}).bornMs.has_value();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsBirthTimes && !birthTimes)
            continue; // the file system keeps no birth times
        TempDir dir;
        const std::string db = dir.File("plant.vx");
        std::filesystem::copy_file(e.target, db);
        c.arrange(db, db + ".log");
        const json s = Summary(db);
        if (c.note.empty()) {
            EXPECT_EQ(s["failedObjects"], json::array({"Huge"})) << s["logNote"];
        } else {
            EXPECT_TRUE(s["failedObjects"].is_null());
            EXPECT_EQ(s["logNote"], "the log beside the file is from another run: " + c.note);
        }
    }
}

TEST(VxinfoLog, OnlyTheEndOfALongLogIsRead)
{
    // The tail starts at a whole line: one byte before the cut tells whether it falls on a line start.
    TempDir dir;
    const std::string path = dir.File("text.log");
    WriteTextFile(path, "first line\nsecond\n");
    const struct {
        std::size_t maxBytes;
        std::string text;
        bool truncated;
    } tails[] = {{100, "first line\nsecond\n", false}, {18, "first line\nsecond\n", false},
        {8, "second\n", true}, {7, "second\n", true}, {6, "", true}};
    for (const auto& t : tails) {
        SCOPED_TRACE(t.maxBytes);
        const vxinfo::FileTail tail = vxinfo::ReadFileTail(path, t.maxBytes);
        EXPECT_EQ(tail.state, vxinfo::TailState::Read);
        EXPECT_EQ(tail.text, t.text);
        EXPECT_EQ(tail.truncated, t.truncated);
    }

    const FailedExport& e = ExportWithAFailedObject();
    ASSERT_TRUE(e.ok);
    std::string warnings;
    while (warnings.size() <= vxinfo::kLogTailBytes)
        warnings += "Warning: a message the run wrote while it converted the scene\r\n";
    const struct {
        const char* what;
        std::string log;
        json failedObjects;
        std::string note;
    } logs[] = {{"a list at the end", warnings + "Failed objects:\r\nHuge\r\n", json::array({"Huge"}), ""},
        {"no list in reach", warnings, nullptr,
            "the log beside the file is longer than 1 MiB and its last 1 MiB list no failed objects"}};
    for (const auto& l : logs) {
        SCOPED_TRACE(l.what);
        const std::string db = dir.File("plant.vx");
        std::filesystem::remove(db);
        std::filesystem::copy_file(e.target, db);
        WriteTextFile(db + ".log", l.log);
        SetStamp(db, NowMs());
        const json s = Summary(db);
        EXPECT_EQ(s["failedObjects"], l.failedObjects);
        EXPECT_EQ(s["logNote"], l.note.empty() ? json(nullptr) : json(l.note));
    }
}

// Runs vxinfo with args and waits at most timeout for its end; a program still running then is
// killed and reported as blocked.
ProcessResult RunVxinfoWithDeadline(
    const std::vector<std::string>& args, std::chrono::seconds timeout, bool& blocked)
{
    TempDir dir;
    const std::string out = dir.File("out"), err = dir.File("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string program = VxinfoPath();
    std::vector<char*> argv {const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    ProcessResult result;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    blocked = false;
    if (spawned != 0)
        return result;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            blocked = true;
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadTextFile(out);
    result.err = ReadTextFile(err);
    return result;
}

TEST(VxinfoLog, FifosAndDevicesAreNeverOpened)
{
    const HouseDatabases& house = ExportedHouse();
    ASSERT_TRUE(house.ok);
    TempDir dir;
    const std::string db = dir.File("plant.vx");
    const auto fifo = [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path; };
    const auto zero = [](const std::string& path) { std::filesystem::create_symlink("/dev/zero", path); };
    const auto copy = [&] { std::filesystem::copy_file(house.single, db); };
    const std::string notRegular = "vxinfo: cannot open " + db + ": not a regular file\n";
    const std::string logNotRegular
        = "Failed objects:    - (the log beside the file is not a regular file)\n";
    const struct {
        const char* what;
        std::function<void()> arrange;
        int exitCode;
        std::string expected; // in stderr when the exit code is 3, in stdout otherwise
    } cases[] = {
        {"a FIFO as the database", [&] { fifo(db); }, 3, notRegular},
        {"/dev/zero as the database", [&] { zero(db); }, 3, notRegular},
        {"a FIFO as the journal", [&] { copy(), fifo(db + "-journal"); }, 3,
            "vxinfo: cannot open " + db + ": " + db + "-journal is not a regular file\n"},
        {"a FIFO as the log", [&] { copy(), fifo(db + ".log"); }, 0, logNotRegular},
        {"/dev/zero as the log", [&] { copy(), zero(db + ".log"); }, 0, logNotRegular},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* suffix : {"", "-journal", ".log"})
            std::filesystem::remove(db + suffix);
        c.arrange();
        bool blocked = false;
        const ProcessResult run = RunVxinfoWithDeadline({"summary", db}, std::chrono::seconds(20), blocked);
        ASSERT_FALSE(blocked) << "vxinfo waits on the special file";
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        const std::string& shown = c.exitCode == 3 ? run.err : run.out;
        EXPECT_NE(shown.find(c.expected), std::string::npos) << shown;
    }
}

} // namespace
} // namespace vxtest
