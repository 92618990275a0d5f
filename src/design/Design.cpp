#include "design/Design.h"

#include "base/Assert.h"

namespace ZR {

Design::FindOrCreateResult Design::FindOrCreateByName(const char* name)
{
    if (!VX_ASSERT_TEXT(name, "name"))
        name = "";
    VX_ASSERT_TEXT(*name, "*name");
    const FindOrCreateResult found = objects.FindOrCreate(CompositeObjectGuidByName(name));
    if (found.created)
        found.record->name.Assign(name);
    return found;
}

void Design::SetRoot(CompositeObject* root)
{
    if (root && !VX_ASSERT_TEXT(objects.Find(root->guid) == root, "objects.Find(root->guid)==root"))
        return;
    root_ = root;
}

} // namespace ZR
