#include "ExportTestSupport.h"

#include "memoryhost/DialogSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vxtest {

void HookedUiDriver::OnProgressStart(std::string_view title)
{
    progressTitles.emplace_back(title);
    if (onProgressStart)
        onProgressStart(std::string(title));
}

void HookedUiDriver::OnProgressUpdate(int percent)
{
    percents.push_back(percent);
}

bool HookedUiDriver::IsCancelRequested()
{
    const int query = cancelQueries_++;
    return cancelAfter >= 0 && query >= cancelAfter;
}

void HookedUiDriver::OnMessageBox(vx::HostWindow, std::string_view text, std::string_view caption)
{
    boxes.push_back(std::string(caption) + ": " + std::string(text));
}

void HookedUiDriver::PlayDialog(vx::DialogSession& dialog)
{
    ++dialogs;
    UiDriver::PlayDialog(dialog);
}

std::optional<std::string> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::string> ReadLogLines(const std::string& path)
{
    std::vector<std::string> lines;
    const std::optional<std::string> text = ReadBytes(path);
    if (!text)
        return lines;
    std::size_t start = 0;
    while (start < text->size()) {
        const std::size_t end = text->find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "log text without CR LF at its end: " << text->substr(start);
            lines.push_back(text->substr(start));
            break;
        }
        const std::string line = text->substr(start, end - start);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare line feed in " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0)
            names.push_back(name);
    }
    return names;
}

Database::Database(const std::string& path)
{
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(db_);
}

Database::~Database()
{
    sqlite3_close(db_);
}

std::vector<std::string> Database::Column(const std::string& sql) const
{
    std::vector<std::string> values;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
        return values;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        switch (sqlite3_column_type(stmt, 0)) {
        case SQLITE_NULL:
            values.emplace_back("NULL");
            break;
        case SQLITE_BLOB: {
            const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(stmt, 0));
            std::ostringstream hex;
            hex << std::hex;
            for (int i = 0; i < sqlite3_column_bytes(stmt, 0); ++i)
                hex << (bytes[i] >> 4) << (bytes[i] & 15);
            values.push_back(hex.str());
            break;
        }
        default:
            values.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        }
    }
    sqlite3_finalize(stmt);
    return values;
}

double Database::Number(const std::string& sql) const
{
    sqlite3_stmt* stmt = nullptr;
    double value = 0.0;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
        return value;
    }
    if (sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_double(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

int64_t Database::Integer(const std::string& sql) const
{
    sqlite3_stmt* stmt = nullptr;
    int64_t value = 0;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
        return value;
    }
    if (sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

} // namespace vxtest
