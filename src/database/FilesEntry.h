#pragma once
// FilesEntry: one file of a geometry (a vertex or index buffer, or animation data) on its way into
// the Files table. The bytes are gathered in memory between Open and Close; Close writes the row.

#include "database/SqlWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vx {

class FilesEntry {
public:
    // A closed entry without bytes that writes through writer.
    explicit FilesEntry(SqlWriter& writer)
        : writer_(writer)
    {
    }
    // An entry destroyed without Close writes nothing.
    ~FilesEntry() = default;
    FilesEntry(const FilesEntry&) = delete;
    FilesEntry& operator=(const FilesEntry&) = delete;

    // Names the file (kept whole) and the geometry it belongs to (0 for animation data). Returns
    // whether the entry is open, which needs a non-empty name and a geometryLuid of 0 or more: a
    // geometry without a row identifier has no files. A refused call leaves the entry closed (its bytes stay
    // until Close).
    bool Open(const std::string& fileName, int64_t geometryLuid);

    // Whether the entry has been opened and not closed since.
    bool IsOpen() const { return !fileName_.empty(); }

    // Appends size bytes at data; null data appends nothing.
    void Write(const void* data, std::size_t size);
    // Appends bytes; an entry without bytes yet takes them over instead of copying them.
    void Write(std::vector<unsigned char>&& bytes);

    // When open, writes one Files row (geometry_luid, filename, the bytes, which the library reads
    // in place; no bytes give an empty blob) and returns whether it was written: a statement or binding
    // failure (bytes larger than the database accepts, say) is reported and gives false. A closed
    // entry writes nothing and returns false. Either way the bytes are released and the entry is
    // closed. Throws Sqlite3::Error when an open entry is closed after the writer's Close.
    bool Close();

    const std::string& FileName() const { return fileName_; }
    // The bytes written so far.
    std::size_t Size() const { return bytes_.size(); }

private:
    SqlWriter& writer_;
    std::string fileName_;
    int64_t geometryLuid_ = -1;
    std::vector<unsigned char> bytes_;
};

} // namespace vx
