#pragma once
// GuidMap<T>: design records of one kind keyed by their identifier, owned by the map. Destroying or
// clearing the map destroys its records. Records never move: a pointer to one stays valid for the
// life of the map.

#include "base/Array.h"
#include "base/Assert.h"
#include "base/HashMap.h"
#include "base/UniqueId.h"

#include <cstdint>
#include <memory>
#include <utility>

namespace ZR {

template <class T> class GuidMap {
public:
    using Map = vx::HashMap<vx::DUniqueID, std::unique_ptr<T>>;

    struct FindOrCreateResult {
        T* record; // the record of the identifier
        bool created; // true when the record was made by this call
    };

    GuidMap() = default;
    GuidMap(const GuidMap&) = delete;
    GuidMap& operator=(const GuidMap&) = delete;

    // Whether a record is stored under guid.
    bool In(const vx::DUniqueID& guid) const { return map_.Find(guid) != nullptr; }

    // The record stored under guid, or null.
    T* Find(const vx::DUniqueID& guid) const
    {
        const std::unique_ptr<T>* slot = map_.GetPtr(guid);
        return slot ? slot->get() : nullptr;
    }

    // Stores record a under guid and returns it. Preconditions, each reported when violated:
    // a is not null ("a"; nothing is stored and null is returned), guid is valid ("guid.IsValid()";
    // the record is stored under the Null identifier all the same) and guid is not present yet
    // ("!In(guid)"; a takes the entry, and the record it displaces is kept alive, no longer
    // findable, until the map is cleared, so that pointers to it stay valid).
    T* Add(std::unique_ptr<T> a, const vx::DUniqueID& guid)
    {
        if (!VX_ASSERT_TEXT(a, "a"))
            return nullptr;
        VX_ASSERT_TEXT(guid.IsValid(), "guid.IsValid()");
        VX_ASSERT_TEXT(!In(guid), "!In(guid)");
        std::unique_ptr<T>& slot = *map_.Insert(guid).value;
        if (slot)
            displaced_.Append(std::move(slot));
        slot = std::move(a);
        return slot.get();
    }

    // The record of guid; when absent, a new record T(guid) is made and added (see Add for an
    // invalid guid) and created is true.
    FindOrCreateResult FindOrCreate(const vx::DUniqueID& guid)
    {
        if (T* found = Find(guid))
            return {found, false};
        return {Add(std::make_unique<T>(guid), guid), true};
    }

    // The number of findable records.
    uint32_t Count() const { return map_.Count(); }
    bool IsEmpty() const { return map_.IsEmpty(); }

    // Destroys every record, displaced ones included.
    void Clear()
    {
        map_.Clear();
        displaced_.Clear();
    }

    // Walks the entries in the map's iteration order; each node holds key and value (the record).
    typename Map::Iterator begin() const { return map_.begin(); }
    typename Map::IteratorEnd end() const { return map_.end(); }

private:
    Map map_;
    vx::Array<std::unique_ptr<T>> displaced_;
};

} // namespace ZR
