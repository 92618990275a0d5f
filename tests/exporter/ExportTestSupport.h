#pragma once
// Helpers of the export run tests: a UI driver with hooks, the log read back line by line, and
// plain SQLite queries on a written database.

#include "memoryhost/UiDriver.h"

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vxtest {

// Records what the host shows and lets a test act at the start of a progress phase.
class HookedUiDriver final : public vx::UiDriver {
public:
    // Called with the title at each progress start, before the run goes on.
    std::function<void(const std::string&)> onProgressStart;
    // Answers the cancel query with true from its (cancelAfter + 1)-th call on; negative never.
    int cancelAfter = -1;

    std::vector<std::string> progressTitles;
    std::vector<int> percents;
    // "caption: text" of every message box.
    std::vector<std::string> boxes;
    int dialogs = 0;

    void OnProgressStart(std::string_view title) override;
    void OnProgressUpdate(int percent) override;
    bool IsCancelRequested() override;
    void OnMessageBox(vx::HostWindow owner, std::string_view text, std::string_view caption) override;
    void PlayDialog(vx::DialogSession& dialog) override;

private:
    int cancelQueries_ = 0;
};

// The lines of a log file, each of which must end in CR LF (a failure otherwise); nothing when
// the file does not exist.
std::vector<std::string> ReadLogLines(const std::string& path);

// The whole file as bytes; nullopt when it cannot be read.
std::optional<std::string> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// The names in folder that start with prefix.
std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix);

// A read-only connection to a database file.
class Database {
public:
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The first column of each row as text ("NULL" for NULL, blobs as hexadecimal).
    std::vector<std::string> Column(const std::string& sql) const;
    // The first column of the first row as a number (0 when there is none).
    double Number(const std::string& sql) const;
    int64_t Integer(const std::string& sql) const;
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

} // namespace vxtest
