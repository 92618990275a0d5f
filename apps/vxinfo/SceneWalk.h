#pragma once
// Walking the placed objects of a design from its root record down through the instances, with the
// transform that takes each object's coordinates to the root's (see DesignTransform.h).

#include "vxinfo/DesignContent.h"
#include "vxinfo/DesignTransform.h"

#include <functional>
#include <unordered_map>
#include <vector>

namespace vxinfo {

// The objects and the instances each object owns, by luid.
struct PlacementIndex {
    std::unordered_map<Luid, const ObjectRow*> objects;
    std::unordered_map<Luid, std::vector<const InstanceRow*>> placedBy;
};

// Indexes content (which must outlive the index).
PlacementIndex IndexPlacements(const DesignContent& content);

// One placement of an object below the root record.
struct PlacedObject {
    const ObjectRow& object;
    Affine toRoot; // the object's coordinates to the root object's
    std::vector<const InstanceRow*> path; // the instances from the root down; empty for the root
};

// Calls onObject for the first root record's object and for every object placed below it, once per
// placement, depth first in instance order (the object before its instances). An object already on
// the path is not entered again; instances of objects that do not exist are passed over. Nothing
// happens without a root record.
void ForEachPlacedObject(const DesignContent& content, const PlacementIndex& index,
    const std::function<void(const PlacedObject& placed)>& onObject);

} // namespace vxinfo
