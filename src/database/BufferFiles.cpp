#include "database/BufferFiles.h"

#include "base/Assert.h"
#include "base/DebugOutput.h"
#include "database/FilesEntry.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace vx {

namespace {

bool HasIndexList(const VMVertexData& vd)
{
    return vd.indexCount > 0 && vd.HasChannel(VMVertexData::INDEX_CHANNEL);
}

// Writes bytes as the Files row (geometryLuid, name); false when that failed.
bool WriteFile(SqlWriter& writer, const std::string& name, int64_t geometryLuid, std::vector<uint8_t> bytes)
{
    FilesEntry entry(writer);
    if (!entry.Open(name, geometryLuid)) {
        WriteDebugOutputF("Cannot write buffer file %s of geometry %lld\r\n", name.c_str(),
            static_cast<long long>(geometryLuid));
        return false;
    }
    entry.Write(std::move(bytes));
    return entry.Close();
}

// Writes the file unless written holds it; it is recorded only once its row exists, so a failed
// file is tried again by the next pair or model that names it.
// bytes() gives the file's content.
template <class Bytes>
bool WriteOnce(
    SqlWriter& writer, WrittenFiles& written, const std::string& name, int64_t geometryLuid, Bytes&& bytes)
{
    if (written.Contains(geometryLuid, name))
        return true;
    if (!WriteFile(writer, name, geometryLuid, bytes()))
        return false;
    written.Add(geometryLuid, name);
    return true;
}

std::vector<uint8_t> InterleavedVertices(const VMVertexData& vd)
{
    // The present channels with their element sizes, looked up once for all vertices.
    struct Channel {
        const uint8_t* bytes;
        std::size_t size;
    };
    std::array<Channel, VMVertexData::NUM_CHANNELS> present {};
    std::size_t presentCount = 0;
    std::size_t vertexSize = 0;
    for (int slot = 1; slot < VMVertexData::NUM_CHANNELS; ++slot) {
        const std::size_t size = vd.ElementSize(slot);
        if (size == 0)
            continue;
        present[presentCount++] = {vd.channels[static_cast<std::size_t>(slot)].data(), size};
        vertexSize += size;
    }
    std::vector<uint8_t> bytes;
    if (vd.vertexCount <= 0 || vertexSize == 0)
        return bytes;
    const auto count = static_cast<std::size_t>(vd.vertexCount);
    bytes.resize(vertexSize * count);
    uint8_t* out = bytes.data();
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t c = 0; c < presentCount; ++c) {
            std::memcpy(out, present[c].bytes + present[c].size * i, present[c].size);
            out += present[c].size;
        }
    return bytes;
}

} // namespace

bool WriteBufferFiles(SqlWriter& writer, ZR::Model& model, int64_t geometryLuid,
    const ModelDescriptionOptions& options, WrittenFiles& written)
{
    if (!VX_ASSERT_TEXT(geometryLuid >= 0, "geomid>=0"))
        return false;
    model.geomid = geometryLuid;
    bool ok = true;
    for (uint32_t i = 0; i < model.pairs.Count(); ++i) {
        ZR::ModelPair& p = model.pairs[i];
        if (!p.vd)
            continue;
        VX_ASSERT_TEXT(p.rs && p.rs->Tag != 0, "p->rs->Tag");
        if (p.vertexFile.IsEmpty())
            p.vertexFile.Assign(VertexFileName(*p.vd, i, options.singleObjectActive).c_str());
        const std::string vertexName = p.vertexFile.c_str();
        ok = WriteOnce(writer, written, vertexName, geometryLuid, [&p] { return InterleavedVertices(*p.vd); })
            && ok;
        // A pair whose vertex file was written before still needs its own index file.
        if (!HasIndexList(*p.vd))
            continue;
        if (p.indexFile.IsEmpty())
            p.indexFile.Assign(IndexFileName(*p.vd, i, options.singleObjectActive).c_str());
        const std::string indexName = p.indexFile.c_str();
        ok = WriteOnce(writer, written, indexName, geometryLuid, [&p] {
            const VMVertexData::ChannelBytes& indices = p.vd->channels[VMVertexData::INDEX_CHANNEL];
            return std::vector<uint8_t>(indices.begin(), indices.end());
        }) && ok;
    }
    return ok;
}

} // namespace vx
