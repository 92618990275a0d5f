#include "scenefile/SceneFileLoader.h"

#include "base/FileContent.h"
#include "memoryhost/UnitName.h"
#include "scenefile/SceneArrayReader.h"
#include "scenefile/SceneControllerReader.h"
#include "scenefile/SceneDeclarationReader.h"
#include "scenefile/SceneNodeReader.h"
#include "scenefile/SceneReadContext.h"
#include "scenefile/SceneTextCheck.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <string_view>

namespace vx {

namespace {

constexpr std::string_view kFormatName = "varnex-scene";
constexpr int kFormatVersion = 1;

[[noreturn]] void FailAtText(const std::string& file, std::string_view text, size_t offset,
    SceneLoadErrorKind kind, std::string message)
{
    const TextPosition position = FindTextPosition(text, offset);
    SceneLoadError error;
    error.kind = kind;
    error.file = file;
    error.line = position.line;
    error.column = position.column;
    error.message = std::move(message);
    throw SceneLoadFailure(std::move(error));
}

// The size of the regular file at path, or why it has none: a FIFO or a device is never opened
// (it could block or never end), and the reason says so rather than the system's "not supported".
std::uint64_t RegularFileSize(const std::string& path, std::string& whyNot)
{
    if (IsSpecialFileAt(path.c_str())) {
        whyNot = "it is not a regular file";
        return 0;
    }
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(path, error);
    if (error)
        whyNot = error.message();
    return size;
}

std::string ReadSceneText(const std::string& path, const SceneLoadLimits& limits)
{
    std::string whyNot;
    const std::uint64_t size = RegularFileSize(path, whyNot);
    if (!whyNot.empty())
        JsonReader::FailIn(
            path, SceneLoadErrorKind::FileNotReadable, "", "cannot read the scene file: " + whyNot);
    if (size > limits.maxSceneFileBytes)
        JsonReader::FailIn(path, SceneLoadErrorKind::SizeLimit, "",
            "the scene file has " + std::to_string(size) + " bytes; at most "
                + std::to_string(limits.maxSceneFileBytes)
                + " are allowed (large arrays belong in side files)");
    std::ifstream file(path, std::ios::binary);
    std::string text(static_cast<size_t>(size), '\0');
    if (!file || !file.read(text.data(), static_cast<std::streamsize>(size)))
        JsonReader::FailIn(path, SceneLoadErrorKind::FileNotReadable, "", "cannot read the scene file");
    return text;
}

// The parser's message without its own prefix ("[json.exception...] parse error at line 1, column 2: ").
std::string GetParseMessage(const char* what)
{
    std::string_view message(what);
    const size_t column = message.find("column ");
    if (column != std::string_view::npos) {
        const size_t colon = message.find(": ", column);
        if (colon != std::string_view::npos)
            return std::string(message.substr(colon + 2));
    }
    return std::string(message);
}

// Builds the document like the library's own parser, but keeps where and why parsing failed.
class DocumentBuilder {
public:
    explicit DocumentBuilder(Json& document)
        : builder_(document, false)
    {
    }

    bool null() { return builder_.null(); }
    bool boolean(bool value) { return builder_.boolean(value); }
    bool number_integer(Json::number_integer_t value) { return builder_.number_integer(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return builder_.number_unsigned(value); }
    bool number_float(Json::number_float_t value, const Json::string_t& text)
    {
        return builder_.number_float(value, text);
    }
    bool string(Json::string_t& value) { return builder_.string(value); }
    bool binary(Json::binary_t& value) { return builder_.binary(value); }
    bool start_object(std::size_t size) { return builder_.start_object(size); }
    bool key(Json::string_t& value) { return builder_.key(value); }
    bool end_object() { return builder_.end_object(); }
    bool start_array(std::size_t size) { return builder_.start_array(size); }
    bool end_array() { return builder_.end_array(); }
    bool parse_error(std::size_t position, const std::string& token, const nlohmann::detail::exception& error)
    {
        failed = true;
        // A number too large for a double is the only fault the library reports as out of range.
        nonFinite = error.id == 406;
        offset = nonFinite && position >= token.size() ? position - token.size()
                                                       : (position > 0 ? position - 1 : 0);
        message = nonFinite ? "the number " + token + " is not finite" : GetParseMessage(error.what());
        return false;
    }

    bool failed = false;
    bool nonFinite = false;
    size_t offset = 0;
    std::string message;

private:
    nlohmann::detail::json_sax_dom_parser<Json> builder_;
};

Json ParseSceneText(const std::string& path, const std::string& text, const SceneLoadLimits& limits)
{
    if (const auto fault = CheckSceneText(text, limits.maxJsonDepth))
        FailAtText(path, text, fault->offset,
            fault->kind == TextFault::Kind::InvalidUtf8 ? SceneLoadErrorKind::InvalidUtf8
                                                        : SceneLoadErrorKind::TooDeep,
            fault->message);
    Json document;
    DocumentBuilder builder(document);
    Json::sax_parse(text, &builder);
    if (builder.failed)
        FailAtText(path, text, builder.offset,
            builder.nonFinite ? SceneLoadErrorKind::NonFinite : SceneLoadErrorKind::Syntax, builder.message);
    return document;
}

void CheckFormat(const JsonReader& reader, const JsonAt& root)
{
    if (!root.value.is_object())
        reader.Fail(SceneLoadErrorKind::WrongFormat, "",
            "this is not a scene file: the document is not a JSON object");
    const auto format = reader.FindField(root, "format");
    if (!format || !format->value.is_string() || format->value.get_ref<const std::string&>() != kFormatName)
        reader.Fail(SceneLoadErrorKind::WrongFormat, format ? format->pointer : "",
            "this is not a scene file: \"format\" must be \"" + std::string(kFormatName) + "\"");
    const auto version = reader.FindField(root, "version");
    if (!version)
        reader.Fail(SceneLoadErrorKind::WrongFormat, "", "the required field \"version\" is missing");
    if (!version->value.is_number_integer() || version->value.get<std::int64_t>() != kFormatVersion)
        reader.Fail(SceneLoadErrorKind::WrongFormat, version->pointer,
            "version " + version->value.dump() + " is not supported (this loader reads version "
                + std::to_string(kFormatVersion) + ")");
}

HostUnitInfo ReadUnit(const JsonReader& reader, const JsonAt& at)
{
    reader.RequireObject(at, {"type", "multiplier"});
    HostUnitInfo unit;
    const JsonAt typeAt = reader.GetField(at, "type");
    if (typeAt.value.is_number()) {
        unit.type = static_cast<int>(reader.ReadInteger(typeAt, INT32_MIN, INT32_MAX));
    } else {
        const std::string name = reader.ReadString(typeAt);
        const std::optional<int> known = FindUnitTypeByName(name);
        if (known)
            unit.type = *known;
        else
            reader.Fail(SceneLoadErrorKind::InvalidValue, typeAt.pointer,
                "unknown unit \"" + name
                    + "\" (known: inches, feet, miles, millimeters, centimeters, meters, kilometers)");
    }
    if (auto multiplierAt = reader.FindField(at, "multiplier")) {
        unit.multiplier = reader.ReadNumber(*multiplierAt);
        if (!(unit.multiplier > 0.0))
            reader.Fail(
                SceneLoadErrorKind::InvalidValue, multiplierAt->pointer, "the multiplier must be above 0");
    }
    return unit;
}

void ReadBuffers(SceneReadContext& context, const JsonAt& at)
{
    const JsonReader& reader = context.reader;
    const size_t count = reader.RequireArray(at);
    if (count > context.limits.maxBuffers)
        reader.Fail(SceneLoadErrorKind::SizeLimit, at.pointer,
            "the file declares " + std::to_string(count) + " side files; at most "
                + std::to_string(context.limits.maxBuffers) + " are allowed");
    for (size_t i = 0; i < count; ++i) {
        const JsonAt bufferAt = reader.GetElement(at, i);
        reader.RequireObject(bufferAt, {"uri", "byteLength"});
        SceneBuffer buffer;
        buffer.path = context.ResolvePath(reader.ReadString(reader.GetField(bufferAt, "uri")));
        std::string whyNot;
        buffer.size = buffer.path.empty() ? 0 : RegularFileSize(buffer.path, whyNot);
        if (!whyNot.empty() || buffer.path.empty())
            reader.Fail(SceneLoadErrorKind::FileNotReadable, bufferAt.pointer,
                "cannot read the side file " + buffer.path + ": " + whyNot);
        if (auto lengthAt = reader.FindField(bufferAt, "byteLength")) {
            const std::uint64_t declared = reader.ReadUnsigned(*lengthAt, UINT64_MAX);
            if (declared != buffer.size)
                reader.Fail(SceneLoadErrorKind::BufferRange, lengthAt->pointer,
                    "the side file " + buffer.path + " has " + std::to_string(buffer.size) + " bytes, not "
                        + std::to_string(declared));
        }
        context.buffers.push_back(std::move(buffer));
    }
}

std::unique_ptr<MemoryHost> LoadScene(
    const std::string& path, const std::string& text, const SceneLoadLimits& limits)
{
    if (text.size() > limits.maxSceneFileBytes)
        JsonReader::FailIn(path, SceneLoadErrorKind::SizeLimit, "",
            "the scene document has " + std::to_string(text.size()) + " bytes; at most "
                + std::to_string(limits.maxSceneFileBytes) + " are allowed");
    const Json document = ParseSceneText(path, text, limits);
    auto host = std::make_unique<MemoryHost>();
    SceneReadContext context(path, limits, *host);
    const JsonReader& reader = context.reader;
    const JsonAt root {document, ""};
    CheckFormat(reader, root);
    reader.RequireObject(root,
        {"format", "version", "sceneFile", "unit", "mapDirectories", "buffers", "rootUserProperties",
            "textures", "materials", "objects", "nodes", "timeline"});

    if (auto sceneFileAt = reader.FindField(root, "sceneFile"))
        host->SetSceneFile(context.ResolvePath(reader.ReadString(*sceneFileAt)));
    if (auto unitAt = reader.FindField(root, "unit"))
        host->SetMasterUnit(ReadUnit(reader, *unitAt));
    if (auto dirsAt = reader.FindField(root, "mapDirectories")) {
        std::vector<std::string> dirs;
        const size_t count = reader.RequireArray(*dirsAt);
        for (size_t i = 0; i < count; ++i)
            dirs.push_back(context.ResolvePath(reader.ReadString(reader.GetElement(*dirsAt, i))));
        host->SetMapDirs(std::move(dirs));
    }
    if (auto timelineAt = reader.FindField(root, "timeline"))
        ReadTimeline(context, *timelineAt);
    if (auto buffersAt = reader.FindField(root, "buffers"))
        ReadBuffers(context, *buffersAt);
    // The arrays' declared sizes are weighed before any is read: a scene over the memory limit is
    // refused at once, not after gigabytes were read.
    CheckDeclaredArrays(context, root);
    if (auto propertiesAt = reader.FindField(root, "rootUserProperties"))
        host->GetRoot().SetUserPropBuffer(ReadUserPropertyText(context, *propertiesAt).c_str());
    if (auto texturesAt = reader.FindField(root, "textures"))
        ReadTextures(context, *texturesAt);
    if (auto materialsAt = reader.FindField(root, "materials"))
        ReadMaterials(context, *materialsAt);
    if (auto objectsAt = reader.FindField(root, "objects"))
        ReadObjects(context, *objectsAt);
    if (auto nodesAt = reader.FindField(root, "nodes"))
        ReadNodes(context, *nodesAt);
    return host;
}

} // namespace

namespace {

// Runs load, turning every failure of the scene into an error and no scene.
template <typename Load> SceneLoadResult LoadCatching(const std::string& path, Load load)
{
    SceneLoadResult result;
    try {
        result.scene = load();
    } catch (const SceneLoadFailure& failure) {
        result.error = failure.GetError();
    } catch (const std::bad_alloc&) {
        result.error
            = SceneLoadError {SceneLoadErrorKind::SizeLimit, path, "", 0, 0, "out of memory while loading"};
    }
    return result;
}

} // namespace

SceneLoadResult LoadSceneFile(const std::string& path, const SceneLoadLimits& limits)
{
    return LoadCatching(path, [&] { return LoadScene(path, ReadSceneText(path, limits), limits); });
}

SceneLoadResult LoadSceneText(const std::string& text, const std::string& path, const SceneLoadLimits& limits)
{
    return LoadCatching(path, [&] { return LoadScene(path, text, limits); });
}

} // namespace vx
