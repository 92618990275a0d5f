#include "scenefile/SceneArrayReader.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace vx {

namespace {

struct ItemType {
    std::string_view name;
    int components;
    int componentBytes;
    std::uint64_t GetBytes() const { return std::uint64_t(components) * std::uint64_t(componentBytes); }
};

constexpr ItemType kF32x2 {"f32x2", 2, 4};
constexpr ItemType kF32x3 {"f32x3", 3, 4};
constexpr ItemType kU16 {"u16", 1, 2};
constexpr ItemType kU32 {"u32", 1, 4};
constexpr ItemType kU16x3 {"u16x3", 3, 2};
constexpr ItemType kU32x3 {"u32x3", 3, 4};
constexpr ItemType kU8x4 {"u8x4", 4, 1};

// A validated buffer reference: count items of type at offset of buffer.
struct BufferArray {
    const SceneBuffer* buffer = nullptr;
    std::uint64_t offset = 0;
    std::uint64_t count = 0;
    ItemType type = kU32;
};

std::uint16_t LoadU16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t LoadU32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16)
        | (std::uint32_t(p[3]) << 24);
}

float LoadF32(const unsigned char* p)
{
    return std::bit_cast<float>(LoadU32(p));
}

std::uint32_t LoadIndex(const ItemType& type, const unsigned char* p)
{
    return type.componentBytes == 2 ? LoadU16(p) : LoadU32(p);
}

BufferArray ReadBufferReference(
    SceneReadContext& context, const JsonAt& at, std::initializer_list<ItemType> allowed)
{
    const JsonReader& reader = context.reader;
    reader.RequireObject(at, {"buffer", "offset", "count", "type"});
    BufferArray array;
    const JsonAt bufferAt = reader.GetField(at, "buffer");
    const std::uint64_t index = reader.ReadUnsigned(bufferAt, UINT64_MAX);
    if (index >= context.buffers.size())
        reader.Fail(SceneLoadErrorKind::UnknownReference, bufferAt.pointer,
            "buffer " + std::to_string(index) + " is not declared (the file declares "
                + std::to_string(context.buffers.size()) + " buffers)");
    array.buffer = &context.buffers[index];
    if (auto offsetAt = reader.FindField(at, "offset"))
        array.offset = reader.ReadUnsigned(*offsetAt, UINT64_MAX);
    array.count = reader.ReadUnsigned(reader.GetField(at, "count"), UINT64_MAX);

    const JsonAt typeAt = reader.GetField(at, "type");
    const std::string typeName = reader.ReadString(typeAt);
    const ItemType* type = nullptr;
    std::string names;
    for (const ItemType& candidate : allowed) {
        if (candidate.name == typeName)
            type = &candidate;
        names += names.empty() ? "" : ", ";
        names += candidate.name;
    }
    if (!type)
        reader.Fail(SceneLoadErrorKind::InvalidValue, typeAt.pointer,
            "the item type \"" + typeName + "\" is not allowed here (allowed: " + names + ")");
    array.type = *type;

    // Overflow-safe: offset + count * itemBytes <= size.
    const std::uint64_t size = array.buffer->size;
    const std::uint64_t itemBytes = array.type.GetBytes();
    const bool fits = array.offset <= size && array.count <= (size - array.offset) / itemBytes;
    if (!fits)
        reader.Fail(SceneLoadErrorKind::BufferRange, at.pointer,
            std::to_string(array.count) + " items of " + std::to_string(itemBytes) + " bytes at offset "
                + std::to_string(array.offset) + " lie outside the side file " + array.buffer->path + " ("
                + std::to_string(size) + " bytes)");
    return array;
}

// How much of a side file is read at once.
constexpr std::uint64_t kSideWindowBytes = std::uint64_t(4) << 20;

// The bytes [offset, offset + count) of buffer's side file (count at most kSideWindowBytes, the
// range inside the file's declared size): from the window when it holds them, otherwise after
// reading the window again from offset on. A file that cannot be read, or has become shorter than
// declared, fails the load at pointer at.
const unsigned char* SideFileBytes(SceneReadContext& context, const SceneBuffer& buffer, std::uint64_t offset,
    std::uint64_t count, const JsonAt& at)
{
    if (offset >= buffer.windowOffset && offset + count <= buffer.windowOffset + buffer.window.size())
        return buffer.window.data() + (offset - buffer.windowOffset);
    if (!buffer.stream)
        buffer.stream = std::make_unique<std::ifstream>(buffer.path, std::ios::binary);
    std::ifstream& file = *buffer.stream;
    if (!file.is_open())
        context.reader.Fail(
            SceneLoadErrorKind::FileNotReadable, at.pointer, "cannot open the side file " + buffer.path);
    const std::uint64_t bytes = std::max(count, std::min(kSideWindowBytes, buffer.size - offset));
    buffer.window.resize(static_cast<size_t>(bytes));
    buffer.windowOffset = offset;
    file.clear();
    file.seekg(static_cast<std::streamoff>(offset));
    const auto wanted = static_cast<std::streamsize>(bytes);
    if (!file.read(reinterpret_cast<char*>(buffer.window.data()), wanted) || file.gcount() != wanted) {
        buffer.window.clear();
        context.reader.Fail(SceneLoadErrorKind::FileNotReadable, at.pointer,
            "cannot read the side file " + buffer.path + " (it ended early or changed while loading)");
    }
    return buffer.window.data();
}

// Reads the items of array in chunks and hands each to decode(item bytes, item index).
template <typename Decode>
void ReadBufferItems(SceneReadContext& context, const BufferArray& array, const JsonAt& at, Decode decode)
{
    const std::uint64_t itemBytes = array.type.GetBytes();
    const std::uint64_t chunkItems = std::max<std::uint64_t>(1, kSideWindowBytes / itemBytes);
    for (std::uint64_t first = 0; first < array.count;) {
        const std::uint64_t items = std::min(chunkItems, array.count - first);
        const unsigned char* bytes
            = SideFileBytes(context, *array.buffer, array.offset + first * itemBytes, items * itemBytes, at);
        for (std::uint64_t k = 0; k < items; ++k)
            decode(bytes + k * itemBytes, static_cast<size_t>(first + k));
        first += items;
    }
}

bool TryReadFloat(const Json& value, float& out)
{
    if (!value.is_number())
        return false;
    const double number = value.get<double>();
    if (!std::isfinite(number) || std::abs(number) > FLT_MAX)
        return false;
    out = static_cast<float>(number);
    return true;
}

// An inline array's element at index: an array of one of the given sizes; returns its size.
size_t RequireInlineItem(
    const JsonReader& reader, const JsonAt& at, size_t index, size_t size, size_t otherSize)
{
    const Json& item = at.value[index];
    if (item.is_array() && (item.size() == size || item.size() == otherSize))
        return item.size();
    const JsonAt itemAt = reader.GetElement(at, index);
    reader.RequireArray(itemAt);
    reader.Fail(SceneLoadErrorKind::InvalidValue, itemAt.pointer,
        "expected " + std::to_string(size) + " values, found " + std::to_string(item.size()));
}

float ReadInlineFloat(const JsonReader& reader, const JsonAt& at, size_t index, size_t component)
{
    const Json& value = at.value[index][component];
    float out = 0.0f;
    if (TryReadFloat(value, out))
        return out;
    const JsonAt itemAt = reader.GetElement(at, index);
    return reader.ReadFloat(reader.GetElement(itemAt, component)); // fails with the reason
}

// An inline integer in 0..maxValue; a value out of that range fails with outOfRange.
std::uint32_t ReadInlineIndex(const JsonReader& reader, const JsonAt& at, size_t index,
    const size_t* component, std::uint64_t limit, const std::string& outOfRange,
    SceneLoadErrorKind kind = SceneLoadErrorKind::IndexOutOfRange)
{
    const Json& value = component ? at.value[index][*component] : at.value[index];
    std::string pointer;
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number < limit)
            return static_cast<std::uint32_t>(number);
        pointer = AppendPointer(at.pointer, index);
        if (component)
            pointer = AppendPointer(pointer, *component);
        reader.Fail(kind, pointer, std::to_string(number) + outOfRange);
    }
    pointer = AppendPointer(at.pointer, index);
    if (component)
        pointer = AppendPointer(pointer, *component);
    if (value.is_number_integer())
        reader.Fail(kind, pointer, std::to_string(value.get<std::int64_t>()) + outOfRange);
    reader.ReadInteger(JsonAt {value, pointer}, 0, 0); // fails with the reason
    return 0;
}

void RequireArrayOrReference(const JsonReader& reader, const JsonAt& at)
{
    if (!at.value.is_array() && !at.value.is_object())
        reader.Fail(SceneLoadErrorKind::WrongType, at.pointer,
            std::string("expected an array or a buffer reference, found ")
                + JsonReader::GetTypeName(at.value));
}

std::string DescribeRange(const char* what, std::uint64_t limit)
{
    return " is out of range (" + std::to_string(limit) + " " + what + ")";
}

// Triangles of indices below limit, stored through store(item index, a, b, c).
template <typename Store>
void ReadTriangles(SceneReadContext& context, const JsonAt& at, std::uint64_t limit, const char* what,
    size_t count, const BufferArray* array, Store store)
{
    const std::string outOfRange = DescribeRange(what, limit);
    if (array) {
        ReadBufferItems(context, *array, at, [&](const unsigned char* item, size_t i) {
            std::uint32_t v[3];
            for (int k = 0; k < 3; ++k) {
                v[k] = LoadIndex(array->type, item + k * array->type.componentBytes);
                if (v[k] >= limit)
                    context.reader.Fail(SceneLoadErrorKind::IndexOutOfRange, at.pointer,
                        "item " + std::to_string(i) + ": " + std::to_string(v[k]) + outOfRange);
            }
            store(i, v[0], v[1], v[2]);
        });
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        RequireInlineItem(context.reader, at, i, 3, 3);
        std::uint32_t v[3];
        for (size_t k = 0; k < 3; ++k)
            v[k] = ReadInlineIndex(context.reader, at, i, &k, limit, outOfRange);
        store(i, v[0], v[1], v[2]);
    }
}

} // namespace

MeshArray<HostPoint3> ReadPointArray(SceneReadContext& context, const JsonAt& at, bool allowUv)
{
    RequireArrayOrReference(context.reader, at);
    if (at.value.is_object()) {
        const BufferArray array = allowUv ? ReadBufferReference(context, at, {kF32x3, kF32x2})
                                          : ReadBufferReference(context, at, {kF32x3});
        context.ChargeArray(array.count, sizeof(HostPoint3), at.pointer);
        MeshArray<HostPoint3> points(static_cast<size_t>(array.count));
        const bool hasZ = array.type.components == 3;
        ReadBufferItems(context, array, at, [&](const unsigned char* item, size_t i) {
            const HostPoint3 p {LoadF32(item), LoadF32(item + 4), hasZ ? LoadF32(item + 8) : 0.0f};
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                context.reader.Fail(SceneLoadErrorKind::NonFinite, at.pointer,
                    "item " + std::to_string(i) + " holds a number that is not finite");
            points[i] = p;
        });
        return points;
    }
    const size_t count = at.value.size();
    context.ChargeArray(count, sizeof(HostPoint3), at.pointer);
    MeshArray<HostPoint3> points(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t size = RequireInlineItem(context.reader, at, i, 3, allowUv ? 2 : 3);
        points[i].x = ReadInlineFloat(context.reader, at, i, 0);
        points[i].y = ReadInlineFloat(context.reader, at, i, 1);
        points[i].z = size == 3 ? ReadInlineFloat(context.reader, at, i, 2) : 0.0f;
    }
    return points;
}

MeshArray<HostFace> ReadFaceArray(SceneReadContext& context, const JsonAt& at, std::uint64_t vertexCount)
{
    RequireArrayOrReference(context.reader, at);
    std::optional<BufferArray> array;
    if (at.value.is_object())
        array = ReadBufferReference(context, at, {kU32x3, kU16x3});
    const std::uint64_t count = array ? array->count : at.value.size();
    context.ChargeArray(count, sizeof(HostFace), at.pointer);
    MeshArray<HostFace> faces(static_cast<size_t>(count));
    ReadTriangles(context, at, vertexCount, "vertices", faces.size(), array ? &*array : nullptr,
        [&](size_t i, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
            faces[i].v[0] = a;
            faces[i].v[1] = b;
            faces[i].v[2] = c;
        });
    return faces;
}

MeshArray<HostTVFace> ReadMapFaceArray(
    SceneReadContext& context, const JsonAt& at, std::uint64_t mapVertexCount)
{
    RequireArrayOrReference(context.reader, at);
    std::optional<BufferArray> array;
    if (at.value.is_object())
        array = ReadBufferReference(context, at, {kU32x3, kU16x3});
    const std::uint64_t count = array ? array->count : at.value.size();
    context.ChargeArray(count, sizeof(HostTVFace), at.pointer);
    MeshArray<HostTVFace> faces(static_cast<size_t>(count));
    ReadTriangles(context, at, mapVertexCount, "map vertices", faces.size(), array ? &*array : nullptr,
        [&](size_t i, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
            faces[i].t[0] = a;
            faces[i].t[1] = b;
            faces[i].t[2] = c;
        });
    return faces;
}

std::vector<std::uint32_t> ReadValueArray(
    SceneReadContext& context, const JsonAt& at, std::uint32_t maxValue, const char* what)
{
    RequireArrayOrReference(context.reader, at);
    const std::uint64_t limit = std::uint64_t(maxValue) + 1;
    const std::string outOfRange
        = std::string(" is out of range: ") + what + "s run from 0 to " + std::to_string(maxValue);
    if (at.value.is_object()) {
        const BufferArray array = ReadBufferReference(context, at, {kU32, kU16});
        context.ChargeArray(array.count, sizeof(std::uint32_t), at.pointer);
        std::vector<std::uint32_t> values(static_cast<size_t>(array.count));
        ReadBufferItems(context, array, at, [&](const unsigned char* item, size_t i) {
            const std::uint32_t value = LoadIndex(array.type, item);
            if (value >= limit)
                context.reader.Fail(SceneLoadErrorKind::IndexOutOfRange, at.pointer,
                    "item " + std::to_string(i) + ": " + std::to_string(value) + outOfRange);
            values[i] = value;
        });
        return values;
    }
    const size_t count = at.value.size();
    context.ChargeArray(count, sizeof(std::uint32_t), at.pointer);
    std::vector<std::uint32_t> values(count);
    for (size_t i = 0; i < count; ++i)
        values[i] = ReadInlineIndex(context.reader, at, i, nullptr, limit, outOfRange);
    return values;
}

std::vector<HostPixel64> ReadPixelArray(SceneReadContext& context, const JsonAt& at)
{
    RequireArrayOrReference(context.reader, at);
    const auto widen = [](std::uint32_t byte) { return static_cast<std::uint16_t>(byte * 257u); };
    if (at.value.is_object()) {
        const BufferArray array = ReadBufferReference(context, at, {kU8x4});
        context.ChargeArray(array.count, sizeof(HostPixel64), at.pointer);
        std::vector<HostPixel64> pixels(static_cast<size_t>(array.count));
        ReadBufferItems(context, array, at, [&](const unsigned char* item, size_t i) {
            pixels[i] = {widen(item[0]), widen(item[1]), widen(item[2]), widen(item[3])};
        });
        return pixels;
    }
    const size_t count = at.value.size();
    context.ChargeArray(count, sizeof(HostPixel64), at.pointer);
    std::vector<HostPixel64> pixels(count);
    const std::string outOfRange = " is out of range: colour channels run from 0 to 255";
    for (size_t i = 0; i < count; ++i) {
        RequireInlineItem(context.reader, at, i, 4, 4);
        std::uint32_t c[4];
        for (size_t k = 0; k < 4; ++k)
            c[k] = ReadInlineIndex(
                context.reader, at, i, &k, 256, outOfRange, SceneLoadErrorKind::InvalidValue);
        pixels[i] = {widen(c[0]), widen(c[1]), widen(c[2]), widen(c[3])};
    }
    return pixels;
}

namespace {

// The file bytes a buffer reference declares; 0 when at is not one, or is one that the readers
// refuse anyway with their own reason (an unknown type or buffer, a range outside its side file).
std::uint64_t DeclaredBytes(const Json& at, const std::vector<SceneBuffer>& buffers)
{
    if (!at.is_object() || !at.contains("buffer") || !at.contains("count") || !at.contains("type"))
        return 0;
    const Json& buffer = at["buffer"];
    const Json& count = at["count"];
    const Json& type = at["type"];
    const Json offset = at.contains("offset") ? at["offset"] : Json(0);
    const auto whole = [](const Json& v) { return v.is_number_integer() && v.get<std::int64_t>() >= 0; };
    if (!whole(buffer) || !whole(count) || !type.is_string() || !whole(offset)
        || buffer.get<std::uint64_t>() >= buffers.size())
        return 0;
    const std::uint64_t size = buffers[buffer.get<std::size_t>()].size;
    const std::uint64_t start = offset.get<std::uint64_t>();
    for (const ItemType& known : {kF32x2, kF32x3, kU16, kU32, kU16x3, kU32x3, kU8x4}) {
        if (known.name != type.get_ref<const std::string&>())
            continue;
        const std::uint64_t items = count.get<std::uint64_t>();
        const bool inside = start <= size && items <= (size - start) / known.GetBytes();
        return inside ? items * known.GetBytes() : 0;
    }
    return 0;
}

// Adds the declared bytes of every buffer reference under at (depth first, fields in key order) to
// total; fails at the reference that takes it past limit.
void AddDeclaredArrays(const JsonReader& reader, const std::vector<SceneBuffer>& buffers, const Json& at,
    const std::string& pointer, std::uint64_t limit, std::uint64_t& total)
{
    if (const std::uint64_t bytes = DeclaredBytes(at, buffers)) {
        if (bytes > limit || total > limit - bytes)
            reader.Fail(SceneLoadErrorKind::SizeLimit, pointer,
                "the scene's arrays declare more than " + std::to_string(limit)
                    + " bytes of memory (nothing was read)");
        total += bytes;
        return;
    }
    if (at.is_object()) {
        for (const auto& [key, value] : at.items())
            AddDeclaredArrays(reader, buffers, value, pointer + "/" + key, limit, total);
    } else if (at.is_array()) {
        for (std::size_t i = 0; i < at.size(); ++i)
            AddDeclaredArrays(reader, buffers, at[i], pointer + "/" + std::to_string(i), limit, total);
    }
}

} // namespace

void CheckDeclaredArrays(SceneReadContext& context, const JsonAt& at)
{
    std::uint64_t total = 0;
    AddDeclaredArrays(
        context.reader, context.buffers, at.value, at.pointer, context.limits.maxSceneArrayBytes, total);
}

} // namespace vx
