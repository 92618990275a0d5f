#include "database/TextureName.h"

#include "base/Paths.h"
#include "database/TextureWriter.h"
#include "toolkit/VMTexture.h"

#include <strings.h>

namespace vx {

namespace {

// Moves texture to the file found for it, logging a substitute or a file found elsewhere.
void UseFoundFile(RunReport& report, VMTexture& texture, const std::string& found)
{
    const std::string& recorded = texture.FileName;
    const bool relative = IsRelativePath(recorded.c_str());
    if (relative || strcasecmp(found.c_str(), recorded.c_str()) != 0)
        report.WriteLogLine(("Using texture '" + found + "' instead of '" + recorded + "'").c_str());
    texture.FileName = found;
}

// The file found for texture, searched once per run for each image name and recorded path.
std::optional<std::string> FindTextureFileOnce(DesignWrite& write, const VMTexture& texture)
{
    std::string key(texture.name.c_str());
    key += '\0';
    key += texture.FileName;
    auto& searches = write.tables.textureFileSearches;
    auto known = searches.find(key);
    if (known == searches.end()) {
        auto found = FindTextureFile(texture.name.c_str(), texture.FileName.c_str(), write.texturePlaces);
        known = searches.emplace(std::move(key), std::move(found)).first;
    }
    return known->second;
}

} // namespace

std::string StoreTexture(DesignWrite& write, VMTexture& texture)
{
    const std::optional<std::string> found = FindTextureFileOnce(write, texture);
    if (found)
        UseFoundFile(write.report, texture, *found);
    else if (!write.options.keepMissingTextures)
        return {};
    if (texture.FileName.empty())
        return {};
    // An image found nowhere keeps only its bare name when the host held its pixels: such a name is
    // never looked up in the working directory, where an unrelated file of that name may lie.
    if (!found && IsRelativePath(texture.FileName.c_str()))
        return NameMissingTexture(write, texture.FileName.c_str());

    auto& names = write.tables.textureNames;
    auto known = names.find(texture.FileName);
    if (known == names.end())
        known = names.emplace(texture.FileName, WriteTexture(write, texture.FileName.c_str())).first;
    return known->second;
}

} // namespace vx
