#pragma once
// CompositeObject: an exported part of the scene. It holds its own geometry (Model), its properties,
// its bounding box and the instances (Components) by which it places other composite objects; it
// owns those instances and its groups.

#include "base/Array.h"
#include "base/Rotation.h"
#include "base/UniqueId.h"
#include "design/Aabb.h"
#include "design/Category.h"
#include "design/DbRecord.h"
#include "design/Group.h"
#include "design/GuidMap.h"
#include "design/Model.h"
#include "design/ObjectInstance.h"
#include "design/Placement.h"
#include "design/PropertySet.h"

#include <cstdint>
#include <memory>

namespace ZR {

struct CompositeObjectData {
    // The Lod of an object that must not be written.
    static constexpr int32_t lInvalid = -1;
    // Stretch types.
    static constexpr int32_t STRETCH_NONE = -1;
    static constexpr int32_t STRETCH_EXTRUDABLE = 0;
    static constexpr int32_t STRETCH_SCALABLE = 2;
    static constexpr uint32_t INITIAL_COMPONENTS = 8;

    CompositeObjectData() { Components.Reserve(INITIAL_COMPONENTS); }
    CompositeObjectData(const CompositeObjectData&) = delete;
    CompositeObjectData& operator=(const CompositeObjectData&) = delete;

    // Where the object's own geometry sits inside the object.
    Placement placement;
    PropertySet properties;
    bool explode = false;
    bool traceableFlag = false;
    int32_t traceable = 0;
    int32_t stretchType = STRETCH_NONE;
    double minSize = 0.0;
    double maxSize = 0.0;
    // The categories the object belongs to; not owned (the design owns categories).
    vx::Array<Category*> categories;
    int32_t Lod = lInvalid;
    int32_t chain = 2;
    ZR::Model Model;
    ZR::Aabb Aabb;
    // The instances placed in this object, owned by it, in the order they were added.
    vx::Array<std::unique_ptr<ObjectInstance>> Components;
    // The groups owned by this object.
    GuidMap<Group> groups;
};

struct CompositeObject : DbRecord {
    // A new object with a fresh sequential identifier and default data.
    CompositeObject() = default;
    // A new object with the identifier id and default data.
    explicit CompositeObject(const vx::DUniqueID& id)
        : DbRecord(id)
    {
    }
    CompositeObject(const CompositeObject&) = delete;
    CompositeObject& operator=(const CompositeObject&) = delete;

    // Makes an instance with default data and the identifier guid that places compo in this object,
    // appends it to Components and returns it. compo must exist ("compo") and differ from this
    // object ("compo!=this"); a violation is reported and nothing is added (null is returned), since
    // an instance without target, or of its own owner, would break every walk through the design.
    ObjectInstance* AddComponent(CompositeObject* compo, const vx::DUniqueID& guid);

    CompositeObjectData data;
    // Set by the geometry node conversion; part keys are written only for such objects.
    bool fromGeometryNode = false;

    // Conversion-time data that the writers do not read: the instances (in other objects'
    // Components) that place this object, in the order they were made. Not owned.
    vx::Array<ObjectInstance*> placedBy;
    // Conversion-time: the quarter turn that laid an extrudable object's longest axis along the
    // design z axis in its vertices (the identity otherwise). Its instances turn it back, so that the
    // object stands as its node did.
    vx::Rotation extrusionTurn;
};

// The identifier of the composite object found by name: FromName of name + "struct ZR::CompositeObject",
// the texts joined whole (not cut to 255 bytes). A null name counts as empty.
vx::DUniqueID CompositeObjectGuidByName(const char* name);

} // namespace ZR
