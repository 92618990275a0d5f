#include "database/ObjectSharing.h"

#include "base/Numeric.h"

#include <bit>
#include <cstdint>
#include <set>
#include <utility>

namespace vx {

namespace {

using ObjectPair = std::pair<const ZR::CompositeObject*, const ZR::CompositeObject*>;

template <class V>
bool AreEqualMaps(const HashMap<ZR::PropertyKey, V>& a, const HashMap<ZR::PropertyKey, V>& b)
{
    if (a.Count() != b.Count())
        return false;
    for (auto it = a.begin(); it.IsValid(); it.Next()) {
        const V* other = b.GetPtr(it.Key());
        if (!other || !(*other == it.Value()))
            return false;
    }
    return true;
}

bool AreEqualProperties(const ZR::PropertySet& a, const ZR::PropertySet& b)
{
    return AreEqualMaps(a.Flags, b.Flags) && AreEqualMaps(a.Texts, b.Texts) && AreEqualMaps(a.Files, b.Files);
}

bool AreNear(const Vector3& a, const Vector3& b)
{
    return _feqz(a.x - b.x) && _feqz(a.y - b.y) && _feqz(a.z - b.z);
}

bool AreNearRows(const Rotation& a, const Rotation& b)
{
    return AreNear(a.R0, b.R0) && AreNear(a.R1, b.R1) && AreNear(a.R2, b.R2);
}

bool AreEqualPairs(const ZR::Model& a, const ZR::Model& b)
{
    if (a.pairs.Count() != b.pairs.Count())
        return false;
    for (uint32_t i = 0; i < a.pairs.Count(); ++i) {
        const ZR::ModelPair& pa = a.pairs.GetNo(i);
        const ZR::ModelPair& pb = b.pairs.GetNo(i);
        if (pa.vd.Get() != pb.vd.Get() || pa.rs.Get() != pb.rs.Get())
            return false;
        if (pa.transform.flags != pb.transform.flags || !(pa.transform.rows == pb.transform.rows)
            || !(pa.transform.position == pb.transform.position))
            return false;
    }
    return true;
}

bool AreEqualData(const ZR::CompositeObjectData& a, const ZR::CompositeObjectData& b)
{
    return a.Lod == b.Lod && a.stretchType == b.stretchType && a.minSize == b.minSize
        && a.maxSize == b.maxSize && a.explode == b.explode && a.chain == b.chain
        && a.traceableFlag == b.traceableFlag && a.traceable == b.traceable && a.placement == b.placement
        && AreEqualProperties(a.properties, b.properties);
}

bool AreEqualObjectsIn(
    const ZR::CompositeObject* a, const ZR::CompositeObject* b, std::set<ObjectPair>& active);

bool AreEqualInstances(const ZR::ObjectInstance& a, const ZR::ObjectInstance& b, std::set<ObjectPair>& active)
{
    if (!_feqz(a.length - b.length) || !_feqz(a.height - b.height) || !_feqz(a.width - b.width))
        return false;
    if (a.lengthFlag != b.lengthFlag || a.sizeFlag != b.sizeFlag || a.chainFlag != b.chainFlag
        || a.chain != b.chain || a.flags != b.flags)
        return false;
    if (!(a.placement.position == b.placement.position)
        || !AreNearRows(a.placement.matrix, b.placement.matrix))
        return false;
    if (!AreEqualProperties(a.properties, b.properties) || a.groups.Count() != b.groups.Count())
        return false;
    for (uint32_t i = 0; i < a.groups.Count(); ++i) {
        if (a.groups.GetNo(i) != b.groups.GetNo(i))
            return false;
    }
    return AreEqualObjectsIn(a.object, b.object, active);
}

bool AreEqualComponents(
    const ZR::CompositeObjectData& a, const ZR::CompositeObjectData& b, std::set<ObjectPair>& active)
{
    if (a.Components.Count() != b.Components.Count())
        return false;
    for (uint32_t i = 0; i < a.Components.Count(); ++i) {
        const ZR::ObjectInstance* ia = a.Components.GetNo(i).get();
        const ZR::ObjectInstance* ib = b.Components.GetNo(i).get();
        if (!ia || !ib) {
            if (ia != ib)
                return false;
            continue;
        }
        if (!AreEqualInstances(*ia, *ib, active))
            return false;
    }
    return true;
}

bool AreEqualObjectsIn(
    const ZR::CompositeObject* a, const ZR::CompositeObject* b, std::set<ObjectPair>& active)
{
    if (!a || !b)
        return a == b;
    if (a == b || a->guid.Equals(b->guid))
        return true;
    // A pair met again while it is being compared: the design loops; such objects are not shared.
    if (!active.insert({a, b}).second)
        return false;
    const bool equal = AreEqualPairs(a->data.Model, b->data.Model) && AreEqualData(a->data, b->data)
        && AreEqualComponents(a->data, b->data, active);
    active.erase({a, b});
    return equal;
}

} // namespace

bool AreEqualObjects(const ZR::CompositeObject* a, const ZR::CompositeObject* b)
{
    std::set<ObjectPair> active;
    return AreEqualObjectsIn(a, b, active);
}

namespace {

struct KeyHasher {
    uint64_t value = 1469598103934665603ull;
    void Add(uint64_t n)
    {
        for (int i = 0; i < 8; ++i) {
            value ^= (n >> (8 * i)) & 0xFFu;
            value *= 1099511628211ull;
        }
    }
    void Add(float f) { Add(static_cast<uint64_t>(std::bit_cast<uint32_t>(f == 0.0f ? 0.0f : f))); }
    void Add(const void* p) { Add(static_cast<uint64_t>(reinterpret_cast<std::uintptr_t>(p))); }
};

// A hash of fields that AreEqualObjects compares exactly, unless the identifiers are equal (that
// case is indexed apart): equal objects with different identifiers have equal keys.
uint64_t SharingKey(const ZR::CompositeObject& object)
{
    KeyHasher h;
    const ZR::CompositeObjectData& data = object.data;
    h.Add(static_cast<uint64_t>(data.Model.pairs.Count()));
    for (uint32_t i = 0; i < data.Model.pairs.Count(); ++i) {
        h.Add(data.Model.pairs.GetNo(i).vd.Get());
        h.Add(data.Model.pairs.GetNo(i).rs.Get());
    }
    h.Add(static_cast<uint64_t>(data.Components.Count()));
    for (uint32_t i = 0; i < data.Components.Count(); ++i) {
        const ZR::ObjectInstance* instance = data.Components.GetNo(i).get();
        if (!instance) {
            h.Add(uint64_t {1});
            continue;
        }
        h.Add(static_cast<uint64_t>(static_cast<uint32_t>(instance->flags)));
        h.Add(static_cast<uint64_t>(instance->chain));
        h.Add(static_cast<uint64_t>(instance->groups.Count()));
        h.Add(instance->placement.position.x);
        h.Add(instance->placement.position.y);
        h.Add(instance->placement.position.z);
    }
    return h.value;
}

void IndexNewEntries(SharingList& list)
{
    for (; list.indexed < list.objects.size(); ++list.indexed) {
        const ZR::CompositeObject* entry = list.objects[list.indexed];
        if (!entry)
            continue;
        list.buckets[SharingKey(*entry)].push_back(list.indexed);
        list.firstWithGuid.emplace(entry->guid, list.indexed);
    }
}

} // namespace

ZR::CompositeObject* ShareEqualObject(SharingList& list, ZR::CompositeObject* object)
{
    if (!object)
        return nullptr;
    const auto cached = list.cache.find(object);
    if (cached != list.cache.end() && cached->second < list.objects.size())
        return list.objects[cached->second];
    IndexNewEntries(list);
    // The first equal entry in list order: the first one with the same identifier, or an earlier
    // one with the same key that compares equal.
    std::size_t found = list.objects.size();
    const auto sameGuid = list.firstWithGuid.find(object->guid);
    if (sameGuid != list.firstWithGuid.end())
        found = sameGuid->second;
    const auto bucket = list.buckets.find(SharingKey(*object));
    if (bucket != list.buckets.end()) {
        for (const std::size_t i : bucket->second) {
            if (i >= found)
                break;
            if (AreEqualObjects(list.objects[i], object)) {
                found = i;
                break;
            }
        }
    }
    if (found < list.objects.size()) {
        list.cache[object] = found;
        return list.objects[found];
    }
    list.objects.push_back(object);
    IndexNewEntries(list);
    return object;
}

} // namespace vx
