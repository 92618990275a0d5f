#include "assimpimport/AssimpMaterials.h"

#include "assimpimport/AssimpFolderBound.h"

#include <assimp/material.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace vx {

namespace {

// The texture kinds taken over, with the host map channel each becomes (in the order tried: the
// first kind present for a channel wins).
struct MapKind {
    aiTextureType type;
    int channel;
};
constexpr MapKind kMapKinds[] = {
    {aiTextureType_DIFFUSE, 1},
    {aiTextureType_BASE_COLOR, 1},
    {aiTextureType_SPECULAR, 2},
    {aiTextureType_OPACITY, 6},
    {aiTextureType_NORMALS, 8},
    {aiTextureType_HEIGHT, 8},
};

HostColor ToHostColor(const aiColor4D& c)
{
    return HostColor {c.r, c.g, c.b};
}

float Clamp(float value, float low, float high)
{
    return std::isfinite(value) ? std::clamp(value, low, high) : low;
}

bool IsWindowsPath(const std::string& path)
{
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':'
        && (path[2] == '\\' || path[2] == '/');
    return drive || (path.size() >= 2 && path[0] == '\\' && path[1] == '\\');
}

// name with every byte outside [A-Za-z0-9._-] replaced by '_', so that it is a safe file name.
std::string MakeSafeFileName(const std::string& name)
{
    std::string safe;
    for (char c : name)
        safe += std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-' ? c : '_';
    return safe.substr(0, 64);
}

// The texels of an uncompressed embedded image (Assimp keeps them as B, G, R, A bytes, top row
// first) as a 32-bit TGA file.
std::string MakeTgaBytes(const aiTexture& texture)
{
    std::string bytes(18, '\0');
    bytes[2] = 2; // uncompressed true colour
    bytes[12] = static_cast<char>(texture.mWidth & 0xFF);
    bytes[13] = static_cast<char>((texture.mWidth >> 8) & 0xFF);
    bytes[14] = static_cast<char>(texture.mHeight & 0xFF);
    bytes[15] = static_cast<char>((texture.mHeight >> 8) & 0xFF);
    bytes[16] = 32;
    bytes[17] = 0x28; // 8 alpha bits, top row first
    const size_t count = size_t(texture.mWidth) * texture.mHeight;
    for (size_t i = 0; i < count; ++i) {
        const aiTexel& t = texture.pcData[i];
        bytes += static_cast<char>(t.b);
        bytes += static_cast<char>(t.g);
        bytes += static_cast<char>(t.r);
        bytes += static_cast<char>(t.a);
    }
    return bytes;
}

} // namespace

std::string GetAssimpMaterialName(const aiMaterial& material, unsigned index)
{
    const std::string name = material.GetName().C_Str();
    return name.empty() ? "Material #" + std::to_string(index + 1) : name;
}

AssimpMaterialTable::AssimpMaterialTable(const aiScene& scene, MemoryHost& host, std::vector<float> opacities,
    std::string sceneFolder, std::string imageFolder, bool allowOutside)
    : scene_(scene)
    , host_(host)
    , opacities_(std::move(opacities))
    , sceneFolder_(std::move(sceneFolder))
    , imageFolder_(std::move(imageFolder))
    , allowOutside_(allowOutside)
{
}

MemoryMaterial* AssimpMaterialTable::GetMaterial(unsigned index)
{
    return index < scene_.mNumMaterials ? Convert(index).material : nullptr;
}

const std::vector<unsigned>& AssimpMaterialTable::GetUvSets(unsigned index)
{
    static const std::vector<unsigned> kFirstSet {0};
    return index < scene_.mNumMaterials ? Convert(index).uvSets : kFirstSet;
}

MemoryMaterial* AssimpMaterialTable::GetMultiMaterial(const std::vector<unsigned>& indices)
{
    if (auto found = multis_.find(indices); found != multis_.end())
        return found->second;
    std::string name;
    for (unsigned index : indices) {
        const MemoryMaterial* sub = GetMaterial(index);
        name += (name.empty() ? "" : ", ") + std::string(sub ? sub->GetName() : "");
    }
    MemoryMaterial& multi = host_.AddMaterial(kClassMultiMaterial, "Multi: " + name);
    for (unsigned index : indices)
        multi.subMaterials.push_back(GetMaterial(index));
    multis_.emplace(indices, &multi);
    return &multi;
}

const AssimpMaterialTable::Converted& AssimpMaterialTable::Convert(unsigned index)
{
    if (auto found = converted_.find(index); found != converted_.end())
        return found->second;
    const aiMaterial& source = *scene_.mMaterials[index];
    Converted converted;
    MemoryMaterial& material
        = host_.AddMaterial(kClassStandardMaterial, GetAssimpMaterialName(source, index));
    converted.material = &material;

    aiColor4D colour;
    if (source.Get(AI_MATKEY_COLOR_DIFFUSE, colour) == AI_SUCCESS)
        material.diffuse = ToHostColor(colour);
    material.ambient
        = source.Get(AI_MATKEY_COLOR_AMBIENT, colour) == AI_SUCCESS ? ToHostColor(colour) : material.diffuse;
    if (source.Get(AI_MATKEY_COLOR_SPECULAR, colour) == AI_SUCCESS)
        material.specular = ToHostColor(colour);
    if (source.Get(AI_MATKEY_COLOR_EMISSIVE, colour) == AI_SUCCESS
        && (colour.r > 0 || colour.g > 0 || colour.b > 0)) {
        material.selfIllumColorOn = true;
        material.selfIllumColor = ToHostColor(colour);
    }
    // A Phong exponent e becomes the glossiness log2(e) / 10 (exponent 1024 is full glossiness).
    float exponent = 0.0f;
    if (source.Get(AI_MATKEY_SHININESS, exponent) == AI_SUCCESS && exponent > 1.0f)
        material.shininess = Clamp(std::log2(exponent) / 10.0f, 0.0f, 1.0f);
    else
        material.shininess = 0.0f;
    float strength = 0.0f;
    material.shininessStrength = source.Get(AI_MATKEY_SHININESS_STRENGTH, strength) == AI_SUCCESS
        ? Clamp(strength, 0.0f, 10.0f)
        : (exponent > 0.0f ? 1.0f : 0.0f);
    if (index < opacities_.size())
        material.opacity = opacities_[index];
    int flag = 0;
    if (source.Get(AI_MATKEY_TWOSIDED, flag) == AI_SUCCESS)
        material.twoSided = flag != 0;
    flag = 0;
    if (source.Get(AI_MATKEY_ENABLE_WIREFRAME, flag) == AI_SUCCESS)
        material.wire = flag != 0;
    int shading = 0;
    if (source.Get(AI_MATKEY_SHADING_MODEL, shading) == AI_SUCCESS && shading == aiShadingMode_Flat)
        material.shading = 0;
    AddMaps(source, converted);
    return converted_.emplace(index, std::move(converted)).first->second;
}

void AssimpMaterialTable::AddMaps(const aiMaterial& source, Converted& converted)
{
    struct Found {
        int channel;
        std::string path;
        unsigned uvSet;
        float amount;
    };
    std::vector<Found> found;
    for (const MapKind& kind : kMapKinds) {
        if (source.GetTextureCount(kind.type) == 0
            || std::any_of(
                found.begin(), found.end(), [&](const Found& f) { return f.channel == kind.channel; }))
            continue;
        aiString path;
        unsigned uvSet = 0;
        ai_real blend = 1;
        if (source.GetTexture(kind.type, 0, &path, nullptr, &uvSet, &blend) != AI_SUCCESS || path.length == 0)
            continue;
        found.push_back({kind.channel, path.C_Str(), uvSet, Clamp(static_cast<float>(blend), 0.0f, 10.0f)});
    }
    // The exporter takes at most two texture coordinate sets: the lowest two the textures use.
    std::vector<unsigned> sets;
    for (const Found& f : found)
        sets.push_back(f.uvSet);
    std::sort(sets.begin(), sets.end());
    sets.erase(std::unique(sets.begin(), sets.end()), sets.end());
    if (sets.size() > 2)
        sets.resize(2);
    converted.uvSets = sets.empty() ? std::vector<unsigned> {0} : sets;
    for (const Found& f : found) {
        const auto at = std::find(sets.begin(), sets.end(), f.uvSet);
        if (at == sets.end())
            continue; // its coordinates are dropped, so is the texture
        const int mapChannel = static_cast<int>(at - sets.begin()) + 1;
        converted.material->SetMap(
            f.channel, MemoryMaterialMap {GetTexture(f.path, mapChannel), f.amount, true});
    }
}

MemoryTexture* AssimpMaterialTable::GetTexture(const std::string& path, int mapChannel)
{
    const std::string file = ResolveImage(path);
    const auto key = std::make_pair(file, mapChannel);
    if (auto found = textures_.find(key); found != textures_.end())
        return found->second;
    std::string name = file;
    if (const size_t slash = name.find_last_of("/\\"); slash != std::string::npos)
        name = name.substr(slash + 1);
    MemoryTexture& texture = host_.AddTexture(kClassBitmapTexture, name);
    texture.mapName = file;
    texture.mapChannel = mapChannel;
    textures_.emplace(key, &texture);
    return &texture;
}

std::string AssimpMaterialTable::ResolveImage(const std::string& path)
{
    // "*N" names embedded image N; a file name may also name an image the file embeds (FBX).
    if (path.size() > 1 && path[0] == '*') {
        char* end = nullptr;
        const unsigned long index = std::strtoul(path.c_str() + 1, &end, 10);
        if (end && *end == '\0' && index < scene_.mNumTextures)
            return WriteEmbedded(static_cast<unsigned>(index));
    }
    for (unsigned i = 0; i < scene_.mNumTextures; ++i)
        if (scene_.mTextures[i]->mFilename.length > 0 && path == scene_.mTextures[i]->mFilename.C_Str())
            return WriteEmbedded(i);
    if (IsWindowsPath(path))
        return path; // kept as the modelling host recorded it; the exporter searches for it
    std::string portable = path;
    std::replace(portable.begin(), portable.end(), '\\', '/');
    std::filesystem::path resolved(portable);
    if (resolved.is_relative())
        resolved = std::filesystem::path(sceneFolder_) / resolved;
    const std::string file = resolved.lexically_normal().string();
    // A file may name only images beside it or below: a reference that climbs out or is absolute
    // elsewhere is not read (unless the user trusts the file).
    if (!allowOutside_ && !IsInsideFolder(file, sceneFolder_)) {
        if (std::find(refusedImages_.begin(), refusedImages_.end(), path) == refusedImages_.end())
            refusedImages_.push_back(path);
        return {};
    }
    return file;
}

std::string AssimpMaterialTable::WriteEmbedded(unsigned index)
{
    if (auto found = embeddedFiles_.find(index); found != embeddedFiles_.end())
        return found->second;
    const aiTexture& texture = *scene_.mTextures[index];
    const bool compressed = texture.mHeight == 0;
    if (!texture.pcData || (!compressed && (texture.mWidth > 0xFFFF || texture.mHeight > 0xFFFF)))
        throw std::runtime_error(
            "the embedded image " + std::to_string(index) + " has no data or is too large");
    std::string hint = MakeSafeFileName(texture.achFormatHint);
    std::string title = MakeSafeFileName(std::filesystem::path(texture.mFilename.C_Str()).stem().string());
    const std::string fileName = "embedded-" + std::to_string(index) + (title.empty() ? "" : "-" + title)
        + "." + (compressed ? (hint.empty() ? "bin" : hint) : "tga");
    std::error_code error;
    std::filesystem::create_directories(imageFolder_, error);
    const std::string file = (std::filesystem::path(imageFolder_) / fileName).lexically_normal().string();
    const std::string bytes = compressed
        ? std::string(reinterpret_cast<const char*>(texture.pcData), texture.mWidth)
        : MakeTgaBytes(texture);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write the embedded image " + file);
    embeddedFiles_.emplace(index, file);
    return file;
}

} // namespace vx
