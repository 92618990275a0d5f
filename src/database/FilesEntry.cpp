#include "database/FilesEntry.h"

#include <utility>

namespace vx {

bool FilesEntry::Open(const std::string& fileName, int64_t geometryLuid)
{
    if (fileName.empty() || geometryLuid < 0) {
        fileName_.clear();
        return false;
    }
    fileName_ = fileName;
    geometryLuid_ = geometryLuid;
    return true;
}

void FilesEntry::Write(const void* data, std::size_t size)
{
    if (!data || size == 0)
        return;
    const auto* bytes = static_cast<const unsigned char*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + size);
}

void FilesEntry::Write(std::vector<unsigned char>&& bytes)
{
    if (bytes_.empty())
        bytes_ = std::move(bytes);
    else
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

namespace {

// Clears the statement's bindings when the write leaves, so that it never keeps a pointer to bytes
// that are gone.
struct ClearBindingsOnExit {
    Sqlite3::Statement& statement;
    ~ClearBindingsOnExit() { statement.ClearBindings(); }
};

} // namespace

bool FilesEntry::Close()
{
    // Taking the bytes and the name out releases them however the write ends.
    const std::vector<unsigned char> bytes = std::exchange(bytes_, {});
    const std::string fileName = std::exchange(fileName_, {});
    const int64_t geometryLuid = std::exchange(geometryLuid_, -1);
    if (fileName.empty())
        return false;
    Sqlite3::Statement& insert = writer_.GetStatement(WriterStatement::InsertFile);
    const ClearBindingsOnExit clear {insert};
    // Blobs are most of a design's bytes: the library reads them where they are instead of copying.
    return writer_.BindAndRun(insert, [&](Sqlite3::Statement& row) {
        static const unsigned char kNoBytes = 0;
        row.Param(0).BindInt64(geometryLuid);
        row.Param(1).BindText(fileName.c_str());
        row.Param(2).BindBlobUncopied(bytes.empty() ? &kNoBytes : bytes.data(), bytes.size());
    });
}

} // namespace vx
