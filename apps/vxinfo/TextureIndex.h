#pragma once
// The stored textures of a design found by the name a model description gives them: the identifier
// text of the texture's Guids row.

#include "vxinfo/DesignContent.h"

#include <map>
#include <optional>
#include <string>

namespace vxinfo {

class TextureIndex {
public:
    // Indexes the Textures rows of content by the identifier text of their Guids rows.
    explicit TextureIndex(const DesignContent& content);

    // The luid of the Textures row named name; nothing when no row has that name.
    std::optional<Luid> Find(const std::string& name) const;

private:
    std::map<std::string, Luid> byName_;
};

} // namespace vxinfo
