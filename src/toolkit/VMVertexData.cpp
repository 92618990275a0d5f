#include "toolkit/VMVertexData.h"

#include <algorithm>
#include <cstring>

namespace vx {

namespace {

bool IsSlot(int slot)
{
    return slot >= 0 && slot < VMVertexData::NUM_CHANNELS;
}

std::size_t Count(int32_t n)
{
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

} // namespace

std::size_t VMVertexData::ChannelSize(int slot) const
{
    if (!IsSlot(slot))
        return 0;
    return channels[static_cast<std::size_t>(slot)].size();
}

std::size_t VMVertexData::ElementSize(int slot) const
{
    if (slot <= INDEX_CHANNEL || slot >= NUM_CHANNELS || vertexCount <= 0)
        return 0;
    // An absent channel (most of them) needs no division.
    const std::size_t bytes = channels[static_cast<std::size_t>(slot)].size();
    return bytes == 0 ? 0 : bytes / Count(vertexCount);
}

int VMVertexData::TexCoordComponents(int set) const
{
    if (set < 0 || set >= NUM_TEXCOORD_SETS)
        return 0;
    return static_cast<int>(ElementSize(FIRST_TEXCOORD_CHANNEL + set) / sizeof(float));
}

void VMVertexData::ResizeChannel(int slot, std::size_t bytes)
{
    ChannelBytes& channel = channels[static_cast<std::size_t>(slot)];
    if (bytes == 0) {
        ChannelBytes().swap(channel);
        return;
    }
    channel.resize(bytes, FILL_BYTE);
}

void VMVertexData::SetVertexCount(int32_t n)
{
    if (n < 1) {
        for (int slot = POSITION_CHANNEL; slot < NUM_CHANNELS; ++slot)
            ResizeChannel(slot, 0);
        vertexCount = 0;
        return;
    }
    std::array<std::size_t, NUM_CHANNELS> elementSizes {};
    for (int slot = POSITION_CHANNEL; slot < NUM_CHANNELS; ++slot)
        elementSizes[static_cast<std::size_t>(slot)] = ElementSize(slot);
    elementSizes[POSITION_CHANNEL] = POSITION_SIZE;
    for (int slot = POSITION_CHANNEL; slot < NUM_CHANNELS; ++slot)
        ResizeChannel(slot, elementSizes[static_cast<std::size_t>(slot)] * Count(n));
    vertexCount = n;
}

void VMVertexData::SetIndexCount(int32_t n)
{
    ResizeChannel(INDEX_CHANNEL, INDEX_SIZE * Count(n));
    indexCount = n > 0 ? n : 0;
}

void VMVertexData::AllocateNormals()
{
    if (vertexCount > 0)
        ResizeChannel(NORMAL_CHANNEL, NORMAL_SIZE * Count(vertexCount));
}

void VMVertexData::AllocateColours()
{
    if (vertexCount > 0)
        ResizeChannel(COLOUR_CHANNEL, COLOUR_SIZE * Count(vertexCount));
}

void VMVertexData::AllocateCustom(int k, std::size_t bytesPerVertex)
{
    if (vertexCount > 0 && k >= 0 && k < NUM_CUSTOM_CHANNELS && bytesPerVertex > 0)
        ResizeChannel(FIRST_CUSTOM_CHANNEL + k, bytesPerVertex * Count(vertexCount));
}

void VMVertexData::AllocateTexCoords(int set, int components)
{
    if (vertexCount > 0 && set >= 0 && set < NUM_TEXCOORD_SETS && components >= 1
        && components <= MAX_TEXCOORD_COMPONENTS) {
        ResizeChannel(FIRST_TEXCOORD_CHANNEL + set,
            sizeof(float) * static_cast<std::size_t>(components) * Count(vertexCount));
    }
}

void VMVertexData::FreeTexCoords()
{
    for (int set = 0; set < NUM_TEXCOORD_SETS; ++set)
        ResizeChannel(FIRST_TEXCOORD_CHANNEL + set, 0);
}

void VMVertexData::FreeAll()
{
    for (int slot = 0; slot < NUM_CHANNELS; ++slot)
        ResizeChannel(slot, 0);
    vertexCount = 0;
    indexCount = 0;
}

uint32_t VMVertexData::VertexFormatCode() const
{
    uint32_t code = 0;
    for (int slot = POSITION_CHANNEL; slot < NUM_CHANNELS; ++slot) {
        if (HasChannel(slot))
            code |= 1u << (slot - 1);
    }
    return code;
}

std::span<const uint8_t> VMVertexData::Element(int slot, int32_t vertex) const
{
    const std::size_t size = ElementSize(slot);
    if (size == 0 || vertex < 0 || vertex >= vertexCount)
        return {};
    return {channels[static_cast<std::size_t>(slot)].data() + size * Count(vertex), size};
}

Vector3 VMVertexData::GetVector(int slot, int32_t vertex) const
{
    Vector3 v;
    const std::span<const uint8_t> bytes = Element(slot, vertex);
    if (bytes.size() >= sizeof(float) * 3) {
        std::memcpy(&v.x, bytes.data(), sizeof(float));
        std::memcpy(&v.y, bytes.data() + 4, sizeof(float));
        std::memcpy(&v.z, bytes.data() + 8, sizeof(float));
    }
    return v;
}

void VMVertexData::SetVector(int slot, int32_t vertex, const Vector3& v)
{
    const std::size_t size = ElementSize(slot);
    if (size < sizeof(float) * 3 || vertex < 0 || vertex >= vertexCount)
        return;
    uint8_t* at = channels[static_cast<std::size_t>(slot)].data() + size * Count(vertex);
    std::memcpy(at, &v.x, sizeof(float));
    std::memcpy(at + 4, &v.y, sizeof(float));
    std::memcpy(at + 8, &v.z, sizeof(float));
}

float VMVertexData::GetTexCoord(int set, int32_t vertex, int component) const
{
    float value = 0.0f;
    if (component < 0 || component >= TexCoordComponents(set))
        return value;
    const std::span<const uint8_t> bytes = Element(FIRST_TEXCOORD_CHANNEL + set, vertex);
    if (!bytes.empty())
        std::memcpy(
            &value, bytes.data() + sizeof(float) * static_cast<std::size_t>(component), sizeof(float));
    return value;
}

void VMVertexData::SetTexCoord(int set, int32_t vertex, int component, float value)
{
    if (component < 0 || component >= TexCoordComponents(set) || vertex < 0 || vertex >= vertexCount)
        return;
    const int slot = FIRST_TEXCOORD_CHANNEL + set;
    uint8_t* at = channels[static_cast<std::size_t>(slot)].data() + ElementSize(slot) * Count(vertex)
        + sizeof(float) * static_cast<std::size_t>(component);
    std::memcpy(at, &value, sizeof(float));
}

uint16_t VMVertexData::GetIndex(int32_t i) const
{
    uint16_t value = 0;
    if (i >= 0 && i < indexCount && ChannelSize(INDEX_CHANNEL) >= INDEX_SIZE * (Count(i) + 1))
        std::memcpy(&value, channels[INDEX_CHANNEL].data() + INDEX_SIZE * Count(i), INDEX_SIZE);
    return value;
}

void VMVertexData::SetIndex(int32_t i, uint16_t value)
{
    if (i >= 0 && i < indexCount && ChannelSize(INDEX_CHANNEL) >= INDEX_SIZE * (Count(i) + 1))
        std::memcpy(channels[INDEX_CHANNEL].data() + INDEX_SIZE * Count(i), &value, INDEX_SIZE);
}

void CopyVertex(
    VMVertexData& destination, int32_t destinationVertex, const VMVertexData& source, int32_t sourceVertex)
{
    CopyVertices(destination, destinationVertex, source, sourceVertex, 1);
}

void CopyVertices(VMVertexData& destination, int32_t destinationFirst, const VMVertexData& source,
    int32_t sourceFirst, int32_t count)
{
    if (count <= 0 || destinationFirst < 0 || sourceFirst < 0
        || destinationFirst > destination.vertexCount - count || sourceFirst > source.vertexCount - count)
        return;
    for (int slot = VMVertexData::POSITION_CHANNEL; slot < VMVertexData::NUM_CHANNELS; ++slot) {
        const std::size_t size = source.ElementSize(slot);
        if (size == 0 || size != destination.ElementSize(slot))
            continue;
        const auto index = static_cast<std::size_t>(slot);
        std::memcpy(destination.channels[index].data() + size * static_cast<std::size_t>(destinationFirst),
            source.channels[index].data() + size * static_cast<std::size_t>(sourceFirst),
            size * static_cast<std::size_t>(count));
    }
}

VMRef<VMVertexData> RebuildVertexData(const VMVertexData& source, const int32_t* list, int32_t count)
{
    VMRef<VMVertexData> rebuilt = CloneVertexData(source);
    rebuilt->SetVertexCount(count);
    for (int32_t k = 0; k < count && list; ++k)
        CopyVertex(*rebuilt, k, source, list[k]);
    return rebuilt;
}

VMRef<VMVertexData> CloneVertexData(const VMVertexData& source)
{
    VMRef<VMVertexData> clone = MakeVMRef<VMVertexData>();
    clone->primitiveType = source.primitiveType;
    clone->channels = source.channels;
    clone->vertexCount = source.vertexCount;
    clone->indexCount = source.indexCount;
    return clone;
}

} // namespace vx
