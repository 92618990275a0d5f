#pragma once
// VMVertexData: the in-memory geometry buffer of a model pair, shared by reference count. Up to 16
// typed channels over a common vertex count: slot 0 the 16-bit index list, 1 positions (3 floats),
// 2 normals (3 floats), 3 colours (4 floats), 4-7 custom data (any whole number of bytes per
// vertex), 8-15 texture coordinate sets 0-7 (1 to 4 floats). A channel is present when it holds
// bytes. The element size of a vertex channel is its byte size divided by the vertex count.

#include "base/BulkArena.h"
#include "base/Vector3.h"
#include "toolkit/VMRef.h"
#include "toolkit/VMRefCounted.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vx {

class VMVertexData : public VMRefCounted {
public:
    static constexpr int NUM_CHANNELS = 16;
    static constexpr int INDEX_CHANNEL = 0;
    static constexpr int POSITION_CHANNEL = 1;
    static constexpr int NORMAL_CHANNEL = 2;
    static constexpr int COLOUR_CHANNEL = 3;
    static constexpr int FIRST_CUSTOM_CHANNEL = 4;
    static constexpr int NUM_CUSTOM_CHANNELS = 4;
    static constexpr int FIRST_TEXCOORD_CHANNEL = 8;
    static constexpr int NUM_TEXCOORD_SETS = 8;
    static constexpr int MAX_TEXCOORD_COMPONENTS = 4;
    // The only primitive type the exporter creates.
    static constexpr int32_t TRIANGLE_LIST = 3;
    // Byte sizes of the fixed elements.
    static constexpr std::size_t POSITION_SIZE = 12;
    static constexpr std::size_t NORMAL_SIZE = 12;
    static constexpr std::size_t COLOUR_SIZE = 16;
    static constexpr std::size_t INDEX_SIZE = 2;
    // New bytes of a grown channel.
    static constexpr uint8_t FILL_BYTE = 0xFF;

    // A new vertex data: no channels, counts 0, primitive type 0.
    VMVertexData() = default;

    // The byte size of channel slot (0 for a slot outside 0 .. 15). Kept at full width: a size is
    // never cut to 32 bits on its way out.
    std::size_t ChannelSize(int slot) const;
    // Whether channel slot holds bytes.
    bool HasChannel(int slot) const { return ChannelSize(slot) != 0; }
    // Bytes per vertex of vertex channel slot (1 .. 15); 0 when absent, when the vertex count is 0
    // or for the index slot.
    std::size_t ElementSize(int slot) const;
    // The number of float components of texture coordinate set (0 .. 7); 0 when absent.
    int TexCoordComponents(int set) const;

    void SetPrimitiveType(int32_t code) { primitiveType = code; }
    // n < 1 frees channels 1-15 and sets the count to 0. Otherwise positions become 12 x n bytes
    // and every other present vertex channel n x its element size (leading bytes kept, new bytes
    // 0xFF); the count becomes n.
    void SetVertexCount(int32_t n);
    // The index channel becomes 2 x n bytes (leading bytes kept, new bytes 0xFF); n < 1 frees it.
    void SetIndexCount(int32_t n);
    // Allocate a channel sized for the current vertex count (keeping leading bytes of an existing
    // one). Nothing happens when the vertex count is 0 or the arguments are out of range: custom
    // channel k of 0 .. 3 with 1 or more bytes per vertex; texture coordinate set 0 .. 7 with 1 to
    // 4 components.
    void AllocateNormals();
    void AllocateColours();
    void AllocateCustom(int k, std::size_t bytesPerVertex);
    void AllocateTexCoords(int set, int components);
    // Frees texture coordinate sets 0-7.
    void FreeTexCoords();
    // Frees every channel; the counts become 0.
    void FreeAll();

    // One bit per present channel of slots 1 to 15 (slot i gives bit i - 1).
    uint32_t VertexFormatCode() const;

    // Typed element access. A vertex, index or component outside its channel reads as 0 and is
    // not written.
    Vector3 GetPosition(int32_t vertex) const { return GetVector(POSITION_CHANNEL, vertex); }
    void SetPosition(int32_t vertex, const Vector3& p) { SetVector(POSITION_CHANNEL, vertex, p); }
    Vector3 GetNormal(int32_t vertex) const { return GetVector(NORMAL_CHANNEL, vertex); }
    void SetNormal(int32_t vertex, const Vector3& n) { SetVector(NORMAL_CHANNEL, vertex, n); }
    float GetTexCoord(int set, int32_t vertex, int component) const;
    void SetTexCoord(int set, int32_t vertex, int component, float value);
    uint16_t GetIndex(int32_t i) const;
    void SetIndex(int32_t i, uint16_t value);
    // The bytes of vertex in slot (empty when absent or out of range).
    std::span<const uint8_t> Element(int slot, int32_t vertex) const;

    // A channel's bytes. They come from the bulk arena: a large scene holds hundreds of megabytes
    // of them until they are written.
    using ChannelBytes = BulkVector<uint8_t>;

    int32_t primitiveType = 0;
    std::array<ChannelBytes, NUM_CHANNELS> channels;
    int32_t vertexCount = 0;
    int32_t indexCount = 0;
    // The number the model description writer gives the vertex data; 0 until then.
    int32_t Tag = 0;

private:
    Vector3 GetVector(int slot, int32_t vertex) const;
    void SetVector(int slot, int32_t vertex, const Vector3& v);
    // Resizes channel slot to bytes, keeping leading bytes and filling new ones with 0xFF.
    void ResizeChannel(int slot, std::size_t bytes);
};

// Copies every channel of slots 1-15 present in both with the same element size from vertex
// sourceVertex of source to vertex destinationVertex of destination. A vertex out of range copies
// nothing.
void CopyVertex(
    VMVertexData& destination, int32_t destinationVertex, const VMVertexData& source, int32_t sourceVertex);

// CopyVertex for count consecutive vertices: destination's vertices destinationFirst ..
// destinationFirst + count - 1 receive source's vertices from sourceFirst on. Copies nothing when
// either range is not wholly inside its vertex data.
void CopyVertices(VMVertexData& destination, int32_t destinationFirst, const VMVertexData& source,
    int32_t sourceFirst, int32_t count);

// A copy of source whose vertices are source's vertices list[0 .. count) in that order. Entries out
// of range leave their vertex filled with 0xFF bytes.
VMRef<VMVertexData> RebuildVertexData(const VMVertexData& source, const int32_t* list, int32_t count);

// A new vertex data with source's primitive type, counts and a copy of every channel.
VMRef<VMVertexData> CloneVertexData(const VMVertexData& source);

} // namespace vx
