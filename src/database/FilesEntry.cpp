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

bool FilesEntry::Close()
{
    // Taking the bytes and the name out releases them however the write ends.
    const std::vector<unsigned char> bytes = std::exchange(bytes_, {});
    const std::string fileName = std::exchange(fileName_, {});
    const int64_t geometryLuid = std::exchange(geometryLuid_, -1);
    if (fileName.empty())
        return false;
    Sqlite3::Statement& insert = writer_.GetStatement(WriterStatement::InsertFile);
    const bool written = writer_.BindAndRun(insert, [&](Sqlite3::Statement& row) {
        static const unsigned char kNoBytes = 0;
        row.Param(0).BindInt64(geometryLuid);
        row.Param(1).BindText(fileName.c_str());
        row.Param(2).BindBlob(bytes.empty() ? &kNoBytes : bytes.data(), bytes.size());
    });
    // The library's copy of the bytes goes now, not with the next file.
    insert.ClearBindings();
    return written;
}

} // namespace vx
