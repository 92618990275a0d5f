#include "database/TextureWriter.h"

#include "base/Crc32.h"
#include "base/DFile.h"
#include "base/DebugOutput.h"
#include "base/FileContent.h"
#include "base/Paths.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vx {

namespace {

struct FreeBytes {
    void operator()(unsigned char* bytes) const { std::free(bytes); }
};

// The bytes of a texture file, allocated so that the library can release them.
struct Content {
    std::unique_ptr<unsigned char, FreeBytes> bytes;
    std::size_t size = 0;
};

void ReleaseBytes(void* bytes)
{
    std::free(bytes);
}

// The name of a texture without a row, and the name of a texture's row.
std::string TextureFileName(const char* path, bool withExtension)
{
    if (withExtension)
        return GetFileName(path);
    // A file named only by its extension (".png") has an empty title: its name is all there is.
    const std::string title = GetFileTitle(path);
    return title.empty() ? GetFileName(path) : title;
}

// Puts "Texture file not found: " + path into the log, with why when the file exists but is no
// regular file (a FIFO or a device is never opened: it could block the run or never end).
void LogTextureNotFound(RunReport& report, const char* path)
{
    const bool special = IsSpecialFileAt(path);
    report.WriteLogLine(
        (std::string("Texture file not found: ") + path + (special ? " (not a regular file)" : "")).c_str());
}

// The whole file, or nothing when it cannot be opened or read in full, or is larger than
// maxLength or 4 GiB.
std::optional<Content> ReadTextureFile(RunReport& report, const char* path, int64_t maxLength)
{
    DFile file;
    if (!file.OpenRead(path)) {
        LogTextureNotFound(report, path);
        return std::nullopt;
    }
    const int64_t size = file.GetSize();
    if (size < 0 || size > std::numeric_limits<uint32_t>::max() || size > maxLength) {
        // The image exists but cannot be stored: say so, as for a file that is not there.
        report.WriteLogLine((std::string("Texture file too large: ") + path + " (" + std::to_string(size)
            + " bytes; the database takes at most "
            + std::to_string(std::min<int64_t>(maxLength, std::numeric_limits<uint32_t>::max())) + ")")
                                .c_str());
        return std::nullopt;
    }
    Content content;
    content.size = static_cast<std::size_t>(size);
    // One byte at least, so that an empty file is an empty blob and not NULL.
    content.bytes.reset(static_cast<unsigned char*>(std::malloc(content.size ? content.size : 1)));
    if (!content.bytes)
        return std::nullopt;
    if (content.size && file.Read(content.bytes.get(), 1, content.size) != content.size)
        return std::nullopt;
    return content;
}

// Whether the stored row of texture holds exactly content. A row that cannot be read counts as
// different (reported), so that different contents never share a row.
bool HasContent(SqlWriter& writer, const WrittenTexture& texture, const Content& content)
{
    try {
        return writer.GetDatabase().BlobEquals(
            "Textures", "data", texture.luid, content.bytes.get(), content.size);
    } catch (const Sqlite3::Error& error) {
        SqlWriter::ReportSqlError(error.what(), "Textures.data");
        return false;
    }
}

// Writes the Textures row of id; returns its luid, or -1 when no row was written. The bytes pass
// to the library, which releases them once.
int64_t InsertTexture(SqlWriter& writer, const DUniqueID& id, const std::string& name, Content content)
{
    const int64_t luid = writer.NewLuid(id);
    if (luid < 0)
        return -1;
    Sqlite3::Statement& insert = writer.GetStatement(WriterStatement::InsertTexture);
    const bool inserted = writer.BindAndRun(insert, [&](Sqlite3::Statement& row) {
        row.Param(0).BindInt64(luid);
        row.Param(1).BindText(name.c_str());
        row.Param(2).BindBlob(content.bytes.release(), content.size, ReleaseBytes);
    });
    // The image goes now, not with the next texture.
    insert.ClearBindings();
    return inserted ? luid : -1;
}

} // namespace

std::string NameMissingTexture(DesignWrite& write, const char* path)
{
    const char* texturePath = path ? path : "";
    LogTextureNotFound(write.report, texturePath);
    return TextureFileName(texturePath, write.options.textureNamesWithExtension);
}

std::string WriteTexture(DesignWrite& write, const char* path)
{
    SqlWriter& writer = write.sql;
    const char* texturePath = path ? path : "";
    const bool withExtension = write.options.textureNamesWithExtension;
    std::optional<Content> content
        = ReadTextureFile(write.report, texturePath, writer.GetDatabase().MaxLength());
    if (!content) {
        WriteDebugOutput(std::string("**** TEXTURE NOT READABLE ****: ") + texturePath + "\r\n");
        return TextureFileName(texturePath, withExtension);
    }

    const uint32_t crc = Crc32(content->bytes.get(), content->size);
    const DUniqueID crcId = DUniqueID::FromName(FixedString::FromHex32(crc).c_str());
    std::vector<WrittenTexture>& written = *writer.WrittenTextures().Insert(crcId).value;
    for (const WrittenTexture& texture : written) {
        if (HasContent(writer, texture, *content))
            return texture.id.ToString().c_str();
    }

    // The first content of a CRC keeps the identifier every export gives it; another content
    // with the same CRC must not share its name.
    const DUniqueID id = written.empty() ? crcId : DUniqueID::NewSequential();
    const std::string name = TextureFileName(texturePath, withExtension);
    const int64_t luid = InsertTexture(writer, id, name, std::move(*content));
    if (luid < 0)
        return name;
    written.push_back({id, luid});
    return id.ToString().c_str();
}

} // namespace vx
