#include "vxinfo/TextureIndex.h"

#include "vxinfo/IdentifierText.h"

namespace vxinfo {

TextureIndex::TextureIndex(const DesignContent& content)
{
    std::map<Luid, std::string> guidText;
    for (const GuidRow& g : content.guids)
        guidText[g.luid] = IdentifierText(g.bytes);
    for (const TextureRow& t : content.textures) {
        const auto text = guidText.find(t.luid);
        if (text != guidText.end() && !text->second.empty())
            byName_.emplace(text->second, t.luid);
    }
}

std::optional<Luid> TextureIndex::Find(const std::string& name) const
{
    const auto found = byName_.find(name);
    if (found == byName_.end())
        return std::nullopt;
    return found->second;
}

} // namespace vxinfo
