#include "database/PropertyWriter.h"

#include "base/Assert.h"
#include "base/DFile.h"
#include "base/DebugOutput.h"
#include "base/Paths.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace vx {

namespace {

constexpr const char* INSERT_PROPERTY
    = "INSERT INTO Properties (luid,propdic_luid,value,binarydata) VALUES(?,?,?,?);";

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

// The whole file at path, or nothing when it cannot be opened or is too large for a 32-bit count.
std::optional<std::vector<unsigned char>> ReadWholeFile(const std::string& path)
{
    DFile file;
    if (!file.OpenRead(path.c_str())) {
        WriteDebugOutput("Property file cannot be read: " + path + "\r\n");
        return std::nullopt;
    }
    const int64_t size = file.GetSize();
    if (size < 0 || size > std::numeric_limits<uint32_t>::max()) {
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

void RunRow(SqlWriter& writer, Sqlite3::Statement& insert, int64_t luid, const ZR::PropertyKey& key)
{
    insert.Param(0).BindInt64(luid);
    insert.Param(1).BindInt64(writer.DictionaryLuid(key.text.c_str(), key.number));
    writer.Run(insert);
}

} // namespace

void WriteProperties(SqlWriter& writer, const ZR::PropertySet& set, int64_t luid)
{
    Sqlite3::Statement insert = writer.GetDatabase().Prepare(INSERT_PROPERTY);

    for (auto it = set.Flags.begin(); it.IsValid(); it.Next()) {
        insert.Param(2).BindNull();
        insert.Param(3).BindNull();
        RunRow(writer, insert, luid, it.Key());
    }
    for (auto it = set.Texts.begin(); it.IsValid(); it.Next()) {
        if (IsConversionKey(it.Key().text))
            continue;
        insert.Param(2).BindText(it.Value().c_str());
        insert.Param(3).BindNull();
        RunRow(writer, insert, luid, it.Key());
    }
    for (auto it = set.Files.begin(); it.IsValid(); it.Next()) {
        const std::string& path = it.Value();
        const std::optional<std::vector<unsigned char>> bytes = ReadWholeFile(path);
        if (!bytes)
            continue;
        insert.Param(2).BindText(GetFileName(path.c_str()));
        // An empty file still has a value: an empty blob, not NULL.
        static const unsigned char kNoBytes = 0;
        insert.Param(3).BindBlob(bytes->empty() ? &kNoBytes : bytes->data(), bytes->size());
        RunRow(writer, insert, luid, it.Key());
    }
}

} // namespace vx
