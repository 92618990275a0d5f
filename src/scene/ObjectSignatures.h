#pragma once
// Object signatures: what makes two nodes show "the same object" - the same host object, the same
// material and the same rounded scale. objectSignatures maps each composite identifier to the
// signature of the node that first got it, for one run.

#include "base/UniqueId.h"
#include "base/Vector3.h"

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace ZR {
struct CompositeObject;
}

namespace vx {

class HostNode;

// The first two pieces of a signature, each ended by ";": for cameras and lights the super class
// ("%X") and 0; otherwise the addresses of the node's object and of its material, each as 16
// upper-case hexadecimal digits, so that two distinct objects never share a piece.
std::string ObjectSignaturePieces(const HostNode& node);
// The scale piece "[%X,%X,%X]": each factor as trunc((s + 0.0005) x 1000) held as a signed 32-bit
// integer (a scale of 1 gives 3E8; negative values as their 32-bit two's complement).
std::string ScaleSignaturePiece(const Vector3& scale);
// The signature of node: its object pieces and the scale piece of the scale factors of its object
// transform after world-space modifiers at frame 0.
std::string MakeObjectSignature(const HostNode& node);
// Whether two signatures agree up to their last ";" (same object and material).
bool HaveSameObject(const std::string& a, const std::string& b);

class ObjectSignatureTable {
public:
    struct Entry {
        DUniqueID id;
        std::string signature;
        ZR::CompositeObject* composite = nullptr;
    };

    // The entry of id, or null.
    const Entry* Find(const DUniqueID& id) const;
    // The first registered entry whose signature equals signature, or null.
    const Entry* FindBySignature(const std::string& signature) const;
    // Registers id with signature and its composite object; an id registered already keeps its
    // first entry.
    void Register(const DUniqueID& id, const std::string& signature, ZR::CompositeObject* composite);
    std::size_t Count() const { return entries_.size(); }
    void Clear();

private:
    std::vector<Entry> entries_;
    std::map<DUniqueID, std::size_t> index_;
    // The first entry of each signature (later entries of a signature are never the answer).
    std::unordered_map<std::string, std::size_t> firstBySignature_;
};

// The run's objectSignatures. The table belongs to the current scene context: it is emptied when
// another context becomes current, at the end of the conversion phase (as a run table) and when
// its context is destroyed.
ObjectSignatureTable& ObjectSignatures();

} // namespace vx
