#pragma once
// What the design writers remember while one run writes its design: the geometries written so far
// (for sharing equal model descriptions), the distinct objects of per-object mode (for sharing equal
// objects) and the objects whose instances are being written (to stop cycles in the design).

#include "base/UniqueId.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace ZR {
struct CompositeObject;
}

namespace vx {

// Spreads identifiers over hash buckets: both halves mixed, since sequential identifiers differ
// in a few bytes only.
struct IdentifierHash {
    std::size_t operator()(const DUniqueID& id) const
    {
        uint64_t low = 0;
        uint64_t high = 0;
        std::memcpy(&low, id.GetData(), sizeof low);
        std::memcpy(&high, id.GetData() + sizeof low, sizeof high);
        const uint64_t mixed = (low ^ (high * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
        return static_cast<std::size_t>(mixed ^ (mixed >> 31));
    }
};

// Geometries written in the run, keyed by the identifier their model description text gives.
class GeometryMap {
public:
    // The row of a shareable geometry written under id with exactly this text; -1 when none.
    int64_t FindShared(const DUniqueID& id, const std::string& text) const
    {
        const auto found = shared_.find(id);
        if (found == shared_.end())
            return -1;
        for (const Entry& entry : found->second) {
            if (entry.text == text)
                return entry.geomid;
        }
        return -1;
    }
    // Records a shareable geometry; a later one with the same text replaces the earlier.
    void AddShared(const DUniqueID& id, const std::string& text, int64_t geomid)
    {
        std::vector<Entry>& entries = shared_[id];
        for (Entry& entry : entries) {
            if (entry.text == text) {
                entry.geomid = geomid;
                return;
            }
        }
        entries.push_back({text, geomid});
    }
    // Whether a Geometries row already carries id.
    bool IsUsed(const DUniqueID& id) const { return used_.count(id) != 0; }
    void MarkUsed(const DUniqueID& id) { used_.insert(id); }

private:
    struct Entry {
        std::string text;
        int64_t geomid = -1;
    };
    std::unordered_map<DUniqueID, std::vector<Entry>, IdentifierHash> shared_;
    std::unordered_set<DUniqueID, IdentifierHash> used_;
};

// The distinct composite objects met by the instance writer in per-object mode, and the objects
// already resolved to one of them. The lookups are indexes over objects (kept by ShareEqualObject):
// positions by a hash of the fields the comparison takes exactly, and the first position of each
// identifier; indexed counts the entries of objects already in them.
struct SharingList {
    std::vector<ZR::CompositeObject*> objects;
    std::unordered_map<const ZR::CompositeObject*, std::size_t> cache;
    std::unordered_map<uint64_t, std::vector<std::size_t>> buckets;
    std::unordered_map<DUniqueID, std::size_t, IdentifierHash> firstWithGuid;
    std::size_t indexed = 0;
};

struct DesignWriteState {
    GeometryMap geometries;
    SharingList sharing;
    // Objects whose instances are being written, outermost first.
    std::set<const ZR::CompositeObject*> inProgress;
};

} // namespace vx
