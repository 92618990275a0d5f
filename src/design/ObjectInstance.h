#pragma once
// ObjectInstance: one placement of a composite object (the target) inside another (the owner, whose
// Components list owns the instance). The instance refers to its target and to its groups without
// owning them.

#include "base/Array.h"
#include "base/Transform.h"
#include "base/UniqueId.h"
#include "design/Aabb.h"
#include "design/DbRecord.h"
#include "design/Placement.h"
#include "design/PropertySet.h"

#include <cstdint>

namespace ZR {

struct CompositeObject;
struct Group;

struct ObjectInstance : DbRecord {
    // A new instance with a fresh sequential identifier and default data.
    ObjectInstance() = default;
    // A new instance with the identifier id and default data.
    explicit ObjectInstance(const vx::DUniqueID& id)
        : DbRecord(id)
    {
    }
    ObjectInstance(const ObjectInstance&) = delete;
    ObjectInstance& operator=(const ObjectInstance&) = delete;

    // The position and orientation in the owner.
    Placement placement;
    PropertySet properties;
    // The placed object; never the owner itself.
    CompositeObject* object = nullptr;
    // The groups the instance belongs to, in the order it joined them.
    vx::Array<Group*> groups;
    bool chainFlag = false;
    uint8_t chain = 0;
    bool lengthFlag = false;
    double length = 1.0;
    bool sizeFlag = false;
    double width = 1.0;
    double height = 1.0;
    int32_t flags = 0;

    // Conversion-time data that the writers do not read: the box of the target's content in the
    // owner's coordinates, and the node's local transform.
    Aabb box;
    vx::Transform local;
};

} // namespace ZR
