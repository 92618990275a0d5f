#include "database/PropertyWriter.h"

#include "base/Assert.h"
#include "base/DFile.h"
#include "base/DebugOutput.h"
#include "base/Paths.h"
#include "design/NoName.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace vx {

namespace {

// Names whose Texts entries steer the conversion and are not properties of the record.
constexpr const char* CONVERSION_KEYS[] = {"VNXPart", "VNXScalable", "VNXExtrudable"};

bool IsConversionKey(const std::string& name)
{
    for (const char* key : CONVERSION_KEYS) {
        if (name == key)
            return true;
    }
    return false;
}

// The whole file at path, or nothing when it cannot be opened, is too large for a 32-bit count or
// is larger than the database accepts.
std::optional<std::vector<unsigned char>> ReadWholeFile(const std::string& path, int64_t maxLength)
{
    DFile file;
    if (!file.OpenRead(path.c_str())) {
        WriteDebugOutput("Property file cannot be read: " + path + "\r\n");
        return std::nullopt;
    }
    const int64_t size = file.GetSize();
    if (size < 0 || size > std::numeric_limits<uint32_t>::max() || size > maxLength) {
        WriteDebugOutput("Property file is too large: " + path + "\r\n");
        return std::nullopt;
    }
    const auto sz = static_cast<std::size_t>(size);
    std::vector<unsigned char> bytes(sz);
    const std::size_t rsz = sz ? file.Read(bytes.data(), 1, sz) : 0;
    VX_ASSERT_TEXT(sz == rsz, "sz == rsz");
    bytes.resize(rsz);
    return bytes;
}

// A property without a name would give a dictionary row that the database refuses; such a
// property is left out and the log says so.
bool HasName(RunReport& report, const ZR::PropertyKey& key, const char* recordName, int64_t luid)
{
    if (!key.text.empty())
        return true;
    const std::string warning = std::string("Warning: property with an empty name not written for \"")
        + (recordName && *recordName ? recordName : kTextNoName) + "\" (luid " + std::to_string(luid) + ")";
    report.WriteLogLine(warning.c_str());
    return false;
}

// One Properties row of the record luid for key; bindValue binds value and binarydata. A key whose
// dictionary entry has no luid gets no row.
template <class BindValue>
void WriteRow(SqlWriter& writer, int64_t luid, const ZR::PropertyKey& key, BindValue&& bindValue)
{
    const int64_t dictionaryLuid = writer.DictionaryLuid(key.text.c_str(), key.number);
    if (dictionaryLuid < 0)
        return;
    writer.BindAndRun(writer.GetStatement(WriterStatement::InsertProperty), [&](Sqlite3::Statement& insert) {
        insert.Param(0).BindInt64(luid);
        insert.Param(1).BindInt64(dictionaryLuid);
        bindValue(insert);
    });
}

} // namespace

void WriteProperties(
    SqlWriter& writer, RunReport& report, const ZR::PropertySet& set, int64_t luid, const char* recordName)
{
    for (auto it = set.Flags.begin(); it.IsValid(); it.Next()) {
        if (!HasName(report, it.Key(), recordName, luid))
            continue;
        WriteRow(writer, luid, it.Key(), [](Sqlite3::Statement& insert) {
            insert.Param(2).BindNull();
            insert.Param(3).BindNull();
        });
    }
    for (auto it = set.Texts.begin(); it.IsValid(); it.Next()) {
        if (IsConversionKey(it.Key().text) || !HasName(report, it.Key(), recordName, luid))
            continue;
        const std::string& text = it.Value();
        WriteRow(writer, luid, it.Key(), [&text](Sqlite3::Statement& insert) {
            insert.Param(2).BindText(text.c_str());
            insert.Param(3).BindNull();
        });
    }
    for (auto it = set.Files.begin(); it.IsValid(); it.Next()) {
        if (!HasName(report, it.Key(), recordName, luid))
            continue;
        const std::string& path = it.Value();
        const std::optional<std::vector<unsigned char>> bytes
            = ReadWholeFile(path, writer.GetDatabase().MaxLength());
        if (!bytes)
            continue;
        WriteRow(writer, luid, it.Key(), [&](Sqlite3::Statement& insert) {
            insert.Param(2).BindText(GetFileName(path.c_str()));
            // An empty file still has a value: an empty blob, not NULL.
            static const unsigned char kNoBytes = 0;
            insert.Param(3).BindBlob(bytes->empty() ? &kNoBytes : bytes->data(), bytes->size());
        });
    }
}

} // namespace vx
