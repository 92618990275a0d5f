#pragma once
// Group: a named, typed set of instances, owned by a composite object's groups map. Instances refer
// to the groups they belong to.

#include "base/FixedString.h"
#include "base/UniqueId.h"
#include "design/DbRecord.h"

namespace ZR {

struct CompositeObject;
struct ObjectInstance;

struct GroupData {
    // The composite object that owns the group.
    CompositeObject* Compo = nullptr;
    // The group type text: "Configuration", "System", "Editgroup", "Linkgroup" or another.
    vx::FixedString Type;
};

struct Group : DbRecord {
    // A new group with a fresh sequential identifier.
    Group() = default;
    // A new group with the identifier id.
    explicit Group(const vx::DUniqueID& id)
        : DbRecord(id)
    {
    }

    GroupData data;
};

// The identifier of the group (name, type): FromName of name + type + "struct ZR::Group", the texts
// joined whole (not cut to 255 bytes). A null text counts as empty.
vx::DUniqueID GroupGuid(const char* name, const char* type);

// Puts instance oi into the group (name, type) of owner: finds or creates the group in owner's groups
// map under GroupGuid(name, type), a new group getting the name, the type and owner as Compo, and
// appends it to oi's group list. Returns the group. An existing group whose name or type differs
// from the ones given (both compared as stored, cut to 255 bytes) is reported
// ("gr->name.Equals(name)", "gr->data.Type.Equals(type)") and used all the same.
Group* AddGroup(ObjectInstance& oi, const char* name, const char* type, CompositeObject& owner);

} // namespace ZR
