#include "design/Group.h"

#include "base/Assert.h"
#include "design/CompositeObject.h"
#include "design/ObjectInstance.h"

#include <string>

namespace ZR {

vx::DUniqueID GroupGuid(const char* name, const char* type)
{
    std::string text = name ? name : "";
    text += type ? type : "";
    text += "struct ZR::Group";
    return vx::DUniqueID::FromName(text.c_str());
}

Group* AddGroup(ObjectInstance& oi, const char* name, const char* type, CompositeObject& owner)
{
    const auto [gr, created] = owner.data.groups.FindOrCreate(GroupGuid(name, type));
    // The name and type as a group stores them, so that long texts compare as they were kept.
    const vx::FixedString storedName(name);
    const vx::FixedString storedType(type);
    if (created) {
        gr->name = storedName;
        gr->data.Type = storedType;
        gr->data.Compo = &owner;
    } else {
        VX_ASSERT_TEXT(gr->name.Equals(storedName.c_str()), "gr->name.Equals(name)");
        VX_ASSERT_TEXT(gr->data.Type.Equals(storedType.c_str()), "gr->data.Type.Equals(type)");
    }
    oi.groups.Append(gr);
    return gr;
}

} // namespace ZR
