// vxexport killed (SIGKILL) at many moments of an export of a medium scene: whenever it dies, the
// previous target is intact, byte for byte, and a sound database.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vxtest {
namespace {

// 150 nodes, each with a mesh of its own (a strip of 200 triangles), so that the export writes for
// a while.
std::string MediumScene()
{
    std::string objects;
    std::string nodes;
    for (int i = 0; i < 150; ++i) {
        std::string vertices;
        std::string faces;
        for (int k = 0; k < 101; ++k) {
            vertices += (k ? "," : "") + std::string("[") + std::to_string(k) + ",0," + std::to_string(i)
                + "],[" + std::to_string(k) + ",1," + std::to_string(i + k % 3) + "]";
            if (k < 100) {
                const int a = 2 * k;
                faces += (k ? "," : "") + std::string("[") + std::to_string(a) + "," + std::to_string(a + 1)
                    + "," + std::to_string(a + 2) + "],[" + std::to_string(a + 1) + ","
                    + std::to_string(a + 3) + "," + std::to_string(a + 2) + "]";
            }
        }
        const std::string n = std::to_string(i);
        objects += std::string(i ? "," : "") + R"({"id": "m)" + n
            + R"(", "type": "mesh", "mesh": {"vertices": [)" + vertices + R"(], "faces": [)" + faces + "]}}";
        nodes += std::string(i ? "," : "") + R"({"name": "Part)" + n + R"(", "object": "m)" + n + R"("})";
    }
    return MakeSceneText(
        R"("unit": {"type": "meters"}, "objects": [)" + objects + R"(], "nodes": [)" + nodes + "]");
}

// Starts vxexport on scene and target without prompts; returns its process id (-1 on failure).
pid_t StartExport(const std::string& scene, const std::string& target)
{
    const std::string program = VxexportPath();
    std::vector<std::string> args {program, "--yes", "--quiet", scene, target};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for pid; its exit code, or -1 when a signal ended it.
int WaitFor(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsSoundDatabase(const std::string& path)
{
    ExportedDatabase db(path);
    return db.IsOpen() && db.Text("PRAGMA integrity_check;") == "ok"
        && db.Integer("SELECT count(*) FROM Roots") == 1;
}

TEST(KillDuringExport, ThePreviousTargetSurvivesEveryKill)
{
    TempDir dir;
    const std::string scene = dir.File("medium.json");
    const std::string target = dir.File("medium.vx");
    WriteTextFile(scene, MediumScene());

    // A full export gives the previous target and the time an export takes.
    const auto start = std::chrono::steady_clock::now();
    const pid_t first = StartExport(scene, target);
    ASSERT_GT(first, 0);
    ASSERT_EQ(WaitFor(first), 0);
    const auto duration = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(IsSoundDatabase(target));
    std::string previous = ReadTextFile(target);
    const int64_t objects = ExportedDatabase(target).Integer("SELECT count(*) FROM ObjectInstances");

    std::mt19937 random(20261210);
    std::uniform_int_distribution<long long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(duration).count() * 6 / 5);
    int killed = 0;
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const pid_t pid = StartExport(scene, target);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        kill(pid, SIGKILL);
        const int exitCode = WaitFor(pid);
        killed += exitCode == -1;
        EXPECT_TRUE(exitCode == -1 || exitCode == 0) << exitCode;
        // Whenever it died, the target is a sound database: the previous one, or (when the kill
        // came after the new file was moved into place) the complete new one.
        ASSERT_TRUE(IsSoundDatabase(target));
        const std::string now = ReadTextFile(target);
        if (now != previous) {
            EXPECT_EQ(ExportedDatabase(target).Integer("SELECT count(*) FROM ObjectInstances"), objects);
            previous = now;
        }
    }
    EXPECT_GT(killed, 10);

    // The killed runs' temporary files are gone after one more complete run: each run removes the
    // leftovers of runs that are no longer alive.
    const pid_t last = StartExport(scene, target);
    ASSERT_GT(last, 0);
    ASSERT_EQ(WaitFor(last), 0);
    std::vector<std::string> leftovers;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(".medium.vx-", 0) == 0)
            leftovers.push_back(name);
    }
    EXPECT_EQ(leftovers, std::vector<std::string>());
}

} // namespace
} // namespace vxtest
