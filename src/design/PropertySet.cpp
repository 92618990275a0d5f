#include "design/PropertySet.h"

namespace ZR {

void PropertySet::SetText(const PropertyKey& key, std::string_view text)
{
    Texts.Insert(key).value->assign(text);
}

void PropertySet::SetFile(const PropertyKey& key, std::string_view path)
{
    Files.Insert(key).value->assign(path);
}

} // namespace ZR
