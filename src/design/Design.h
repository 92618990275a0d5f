#pragma once
// Design: the converted scene in memory. It owns every composite object (and through them their
// instances and groups) and every category, and knows the design root, the object all others hang
// under through Components. Destroying the design destroys all of it.

#include "base/UniqueId.h"
#include "design/Category.h"
#include "design/CompositeObject.h"
#include "design/GuidMap.h"

namespace ZR {

class Design {
public:
    using FindOrCreateResult = GuidMap<CompositeObject>::FindOrCreateResult;

    Design() = default;
    Design(const Design&) = delete;
    Design& operator=(const Design&) = delete;

    // The composite object of guid, made with default data when absent (created is then true).
    // An invalid guid is reported as GuidMap::Add reports it.
    FindOrCreateResult FindOrCreate(const vx::DUniqueID& guid) { return objects.FindOrCreate(guid); }

    // The composite object named name: FindOrCreate under CompositeObjectGuidByName(name); a new
    // object gets the name (cut to 255 bytes). A null name is reported as "name", an empty one as
    // "*name"; both go on as the empty name.
    FindOrCreateResult FindOrCreateByName(const char* name);

    // The design root, or null before SetRoot.
    CompositeObject* Root() const { return root_; }
    // Makes root the design root. root must be an object of this design (reported as
    // "objects.Find(root->guid)==root", leaving the root unchanged); null clears the root.
    void SetRoot(CompositeObject* root);

    // Every composite object of the design.
    GuidMap<CompositeObject> objects;
    // Every category that objects of the design refer to.
    GuidMap<Category> categories;

private:
    CompositeObject* root_ = nullptr;
};

} // namespace ZR
