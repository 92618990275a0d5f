#include "scene/ObjectSignatures.h"

#include "scene/NodeFrames.h"

#include "base/FixedString.h"
#include "base/Numeric.h"
#include "host/HostNode.h"
#include "host/HostObject.h"
#include "run/SceneContext.h"

#include <cinttypes>
#include <cstdint>
#include <limits>
#include <memory>

namespace vx {

namespace {

std::string AddressPiece(const void* address)
{
    return FixedString::Formatted("%016" PRIXPTR ";", reinterpret_cast<std::uintptr_t>(address)).c_str();
}

uint32_t ScaleSignatureValue(float scale)
{
    std::int64_t value = TruncateToInt64((static_cast<double>(scale) + 0.0005) * 1000.0);
    if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        value = std::numeric_limits<std::int32_t>::min();
    return static_cast<uint32_t>(static_cast<std::int32_t>(value));
}

struct TableOwner {
    ObjectSignatureTable table;
    SceneContext* context = nullptr;
};

TableOwner& Owner()
{
    static TableOwner owner;
    return owner;
}

// The table's stake in its scene context: emptied with the run tables and with the context.
class SignatureRunTable final : public RunTable {
public:
    explicit SignatureRunTable(SceneContext* context)
        : context_(context)
    {
    }
    ~SignatureRunTable() override
    {
        if (Owner().context == context_) {
            Owner().table.Clear();
            Owner().context = nullptr;
        }
    }
    void Clear() override
    {
        if (Owner().context == context_)
            Owner().table.Clear();
    }

private:
    SceneContext* context_;
};

} // namespace

std::string ObjectSignaturePieces(const HostNode& node)
{
    const HostObject* object = node.GetObjectRef();
    const uint32_t superClass = object ? object->GetSuperClassId() : 0;
    if (superClass == kSuperClassCamera || superClass == kSuperClassLight)
        return FixedString::Formatted("%X;%X;", superClass, 0u).c_str();
    return AddressPiece(object) + AddressPiece(node.GetMaterial());
}

std::string ScaleSignaturePiece(const Vector3& scale)
{
    return FixedString::Formatted("[%X,%X,%X]", ScaleSignatureValue(scale.x), ScaleSignatureValue(scale.y),
        ScaleSignatureValue(scale.z))
        .c_str();
}

std::string MakeObjectSignature(const HostNode& node)
{
    return ObjectSignaturePieces(node) + ScaleSignaturePiece(HostScaleFactors(node.GetObjTMAfterWSM(0)));
}

bool HaveSameObject(const std::string& a, const std::string& b)
{
    const std::size_t endA = a.rfind(';');
    const std::size_t endB = b.rfind(';');
    if (endA == std::string::npos || endB == std::string::npos)
        return endA == endB && a == b;
    return a.compare(0, endA + 1, b, 0, endB + 1) == 0;
}

const ObjectSignatureTable::Entry* ObjectSignatureTable::Find(const DUniqueID& id) const
{
    const auto found = index_.find(id);
    return found == index_.end() ? nullptr : &entries_[found->second];
}

const ObjectSignatureTable::Entry* ObjectSignatureTable::FindBySignature(const std::string& signature) const
{
    const auto found = firstBySignature_.find(signature);
    return found == firstBySignature_.end() ? nullptr : &entries_[found->second];
}

void ObjectSignatureTable::Register(
    const DUniqueID& id, const std::string& signature, ZR::CompositeObject* composite)
{
    if (index_.count(id))
        return;
    index_.emplace(id, entries_.size());
    firstBySignature_.emplace(signature, entries_.size());
    entries_.push_back(Entry {id, signature, composite});
}

void ObjectSignatureTable::Clear()
{
    entries_.clear();
    index_.clear();
    firstBySignature_.clear();
}

ObjectSignatureTable& ObjectSignatures()
{
    TableOwner& owner = Owner();
    SceneContext* context = CurrentSceneContext();
    if (owner.context != context) {
        owner.table.Clear();
        owner.context = context;
        if (context)
            context->AddRunTable(std::make_unique<SignatureRunTable>(context));
    }
    return owner.table;
}

} // namespace vx
