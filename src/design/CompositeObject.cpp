#include "design/CompositeObject.h"

#include "base/Assert.h"

#include <string>

namespace ZR {

ObjectInstance* CompositeObject::AddComponent(CompositeObject* compo, const vx::DUniqueID& guid)
{
    if (!VX_ASSERT_TEXT(compo, "compo"))
        return nullptr;
    if (!VX_ASSERT_TEXT(compo != this, "compo!=this"))
        return nullptr;
    std::unique_ptr<ObjectInstance>& slot = data.Components.Append(std::make_unique<ObjectInstance>(guid));
    slot->object = compo;
    return slot.get();
}

vx::DUniqueID CompositeObjectGuidByName(const char* name)
{
    std::string text = name ? name : "";
    text += "struct ZR::CompositeObject";
    return vx::DUniqueID::FromName(text.c_str());
}

} // namespace ZR
