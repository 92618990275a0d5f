#include "database/TextureName.h"

#include "base/Paths.h"
#include "database/TextureWriter.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"
#include "run/TextureFileSearch.h"
#include "toolkit/VMTexture.h"

#include <strings.h>

namespace vx {

namespace {

bool KeepMissingTextures()
{
    const ExportRunState* run = CurrentExporter();
    return !run || run->keepMissingTextures;
}

// Moves texture to the file found for it, logging a substitute or a file found elsewhere.
void UseFoundFile(VMTexture& texture, const std::string& found)
{
    const std::string& recorded = texture.FileName;
    const bool relative = IsRelativePath(recorded.c_str());
    if (relative || strcasecmp(found.c_str(), recorded.c_str()) != 0) {
        if (ExportRunState* run = CurrentExporter())
            run->WriteLogLine(("Using texture '" + found + "' instead of '" + recorded + "'").c_str());
    }
    texture.FileName = found;
}

// The file found for texture, searched once per run for each image name and recorded path.
std::optional<std::string> FindTextureFileOnce(const VMTexture& texture)
{
    SceneContext* context = CurrentSceneContext();
    if (!context)
        return FindTextureFile(texture.name.c_str(), texture.FileName.c_str(), CurrentTextureSearchPlaces());
    std::string key(texture.name.c_str());
    key += '\0';
    key += texture.FileName;
    auto known = context->textureFileSearches.find(key);
    if (known == context->textureFileSearches.end()) {
        auto found = FindTextureFile(texture.name.c_str(), texture.FileName.c_str(), CurrentTextureSearchPlaces());
        known = context->textureFileSearches.emplace(std::move(key), std::move(found)).first;
    }
    return known->second;
}

} // namespace

std::string TextureName(SqlWriter* writer, VMTexture& texture)
{
    const std::optional<std::string> found = FindTextureFileOnce(texture);
    if (found)
        UseFoundFile(texture, *found);
    else if (!KeepMissingTextures())
        return {};
    if (!writer)
        return texture.name.c_str();
    if (texture.FileName.empty())
        return {};
    // An image found nowhere keeps only its bare name when the host held its pixels: such a name is
    // never looked up in the working directory, where an unrelated file of that name may lie.
    if (!found && IsRelativePath(texture.FileName.c_str()))
        return NameMissingTexture(texture.FileName.c_str());

    SceneContext* context = CurrentSceneContext();
    if (!context)
        return WriteTexture(*writer, texture.FileName.c_str());
    auto known = context->textureNames.find(texture.FileName);
    if (known == context->textureNames.end())
        known
            = context->textureNames.emplace(texture.FileName, WriteTexture(*writer, texture.FileName.c_str()))
                  .first;
    return known->second;
}

} // namespace vx
