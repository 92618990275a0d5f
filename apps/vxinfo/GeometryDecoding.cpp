#include "vxinfo/GeometryDecoding.h"

#include "vxinfo/BufferDecoding.h"
#include "vxinfo/DesignLoading.h"
#include "vxinfo/DesignTransform.h"

#include <cmath>
#include <optional>

namespace vxinfo {

FileIndex IndexFiles(const DesignContent& content)
{
    FileIndex index;
    for (const FileRow& file : content.files)
        index.emplace(std::make_pair(file.geometry, file.name), &file);
    return index;
}

namespace {

constexpr int64_t TRIANGLE_LIST = 3;

struct VertexBufferData {
    bool ok = false;
    std::vector<std::array<float, 3>> positions, normals;
    std::vector<std::array<float, 2>> texCoords;
};

struct IndexBufferData {
    bool ok = false;
    std::vector<uint16_t> indices;
};

template <std::size_t N> bool AllFinite(const std::vector<std::array<float, N>>& values)
{
    for (const auto& v : values)
        for (float x : v)
            if (!std::isfinite(x))
                return false;
    return true;
}

class Decoder {
public:
    Decoder(
        const ReadOnlyDatabase& db, const GeometryRow& geometry, const FileIndex& files, DecodedGeometry& out)
        : db_(db)
        , geometry_(geometry)
        , files_(files)
        , out_(out)
    {
    }

    void Run()
    {
        const ModelTextResult parsed = ParseModelText(geometry_.model);
        if (!parsed.model) {
            Problem("model text does not parse: " + parsed.error);
            return;
        }
        out_.modelParsed = true;
        out_.model = *parsed.model;
        for (const VertexBufferRef& vb : out_.model.vertexBuffers)
            vertexBuffers_.push_back(ReadVertexBuffer(vb));
        for (const IndexBufferRef& ib : out_.model.indexBuffers)
            indexBuffers_.push_back(ReadIndexBuffer(ib));
        for (std::size_t k = 0; k < out_.model.subsets.size(); ++k)
            AddSubset(k, out_.model.subsets[k]);
    }

private:
    void Problem(const std::string& text) { out_.problems.push_back(text); }

    std::optional<std::string> FileBytes(const std::string& name)
    {
        const auto found = files_.find({geometry_.luid, name});
        if (found == files_.end()) {
            Problem("buffer file " + name + " is missing");
            return std::nullopt;
        }
        std::optional<std::string> bytes = ReadFileBytes(db_, found->second->id);
        if (!bytes)
            Problem("buffer file " + name + " cannot be read");
        return bytes;
    }

    VertexBufferData ReadVertexBuffer(const VertexBufferRef& vb)
    {
        VertexBufferData data;
        const std::optional<std::string> bytes = FileBytes(vb.file);
        if (!bytes)
            return data;
        const VertexLayoutResult layout
            = FindVertexLayout(vb.count, vb.items, static_cast<int64_t>(bytes->size()));
        if (!layout.ok) {
            Problem("vertex buffer " + vb.file + " " + layout.error);
            return data;
        }
        data.positions = DecodePositions(*bytes, layout.layout);
        data.normals = DecodeNormals(*bytes, layout.layout);
        data.texCoords = DecodeTexCoords(*bytes, layout.layout);
        if (!AllFinite(data.positions) || !AllFinite(data.normals) || !AllFinite(data.texCoords)) {
            Problem("vertex buffer " + vb.file + " holds a coordinate that is not finite");
            return data;
        }
        PlaceVertices(vb.placement, data);
        data.ok = true;
        return data;
    }

    // Moves the vertices of a buffer to where its placement puts them in the geometry; the normals
    // turn with its rotation.
    static void PlaceVertices(const StoredPlacement& placement, VertexBufferData& data)
    {
        const Affine t = PlacementTransform(placement);
        if (t.IsIdentity())
            return;
        for (auto& p : data.positions) {
            const Vec3 q = t.Apply({p[0], p[1], p[2]});
            p = {static_cast<float>(q[0]), static_cast<float>(q[1]), static_cast<float>(q[2])};
        }
        const Affine turn = PlacementRotation(placement);
        for (auto& n : data.normals) {
            const Vec3 q = turn.ApplyDirection({n[0], n[1], n[2]});
            n = {static_cast<float>(q[0]), static_cast<float>(q[1]), static_cast<float>(q[2])};
        }
    }

    IndexBufferData ReadIndexBuffer(const IndexBufferRef& ib)
    {
        IndexBufferData data;
        const std::optional<std::string> bytes = FileBytes(ib.file);
        if (!bytes)
            return data;
        // Compared by halving the size, so that no count read from the text can overflow.
        if (ib.count < 0 || bytes->size() % 2 != 0 || static_cast<int64_t>(bytes->size() / 2) != ib.count) {
            Problem("index buffer " + ib.file + " holds " + std::to_string(bytes->size()) + " bytes, "
                + std::to_string(ib.count) + " indices need twice as many");
            return data;
        }
        data.indices = DecodeIndices(*bytes);
        data.ok = true;
        return data;
    }

    void AddSubset(std::size_t k, const SubsetDesc& s)
    {
        const std::string name = "subset " + std::to_string(k);
        bool sound = true;
        if (s.vertexBuffer < 0 || s.vertexBuffer >= static_cast<int64_t>(vertexBuffers_.size())) {
            Problem(name + " names vertex buffer " + std::to_string(s.vertexBuffer) + " of "
                + std::to_string(vertexBuffers_.size()));
            sound = false;
        }
        if (s.indexBuffer
            && (*s.indexBuffer < 0 || *s.indexBuffer >= static_cast<int64_t>(indexBuffers_.size()))) {
            Problem(name + " names index buffer " + std::to_string(*s.indexBuffer) + " of "
                + std::to_string(indexBuffers_.size()));
            sound = false;
        }
        if (s.material < 0 || s.material >= static_cast<int64_t>(out_.model.materials.size()))
            Problem(name + " names material " + std::to_string(s.material) + " of "
                + std::to_string(out_.model.materials.size()));
        if (!sound)
            return;
        const VertexBufferData& vb = vertexBuffers_[static_cast<std::size_t>(s.vertexBuffer)];
        if (!vb.ok || (s.indexBuffer && !indexBuffers_[static_cast<std::size_t>(*s.indexBuffer)].ok))
            return; // the buffer's own fault is listed already
        DecodedSubset subset;
        subset.positions = vb.positions;
        subset.normals = vb.normals;
        subset.texCoords = vb.texCoords;
        if (s.material >= 0 && s.material < static_cast<int64_t>(out_.model.materials.size()))
            subset.material = s.material;
        const std::size_t vertexCount = vb.positions.size();
        if (s.indexBuffer) {
            const std::vector<uint16_t>& indices
                = indexBuffers_[static_cast<std::size_t>(*s.indexBuffer)].indices;
            for (std::size_t i = 0; i < indices.size(); ++i)
                if (indices[i] >= vertexCount) {
                    Problem(name + ": index " + std::to_string(indices[i]) + " at position "
                        + std::to_string(i) + " is out of range for " + std::to_string(vertexCount)
                        + " vertices");
                    return;
                }
            subset.indices.assign(indices.begin(), indices.end());
        } else {
            for (std::size_t i = 0; i < vertexCount; ++i)
                subset.indices.push_back(static_cast<uint32_t>(i));
        }
        if (s.type != TRIANGLE_LIST)
            return;
        if (subset.indices.size() % 3 != 0) {
            Problem(name + " is a triangle list of " + std::to_string(subset.indices.size())
                + " vertices, not a multiple of 3");
            return;
        }
        out_.triangles += static_cast<int64_t>(subset.indices.size() / 3);
        out_.subsets.push_back(std::move(subset));
    }

    const ReadOnlyDatabase& db_;
    const GeometryRow& geometry_;
    const FileIndex& files_;
    DecodedGeometry& out_;
    std::vector<VertexBufferData> vertexBuffers_;
    std::vector<IndexBufferData> indexBuffers_;
};

} // namespace

DecodedGeometry DecodeGeometry(
    const ReadOnlyDatabase& db, const GeometryRow& geometry, const FileIndex& files)
{
    DecodedGeometry out;
    out.luid = geometry.luid;
    Decoder(db, geometry, files, out).Run();
    return out;
}

} // namespace vxinfo
