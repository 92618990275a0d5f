#include "scene/passes/CompIdGenerator.h"

#include "scene/passes/CompIdKeys.h"
#include "scene/passes/CompIdRegistry.h"
#include "scene/passes/SceneWalk.h"

#include "scene/NodeProperty.h"

#include "base/FixedString.h"
#include "host/HostNode.h"

#include <algorithm>

namespace vx {

namespace {

constexpr const char* kCompId = "COMPID";
constexpr const char* kGeomId = "GEOMID";

std::string UserPropText(const HostNode& node, const char* key)
{
    std::string value;
    node.GetUserPropString(key, value);
    return value;
}

int CountChildren(const HostNode& node)
{
    int count = 0;
    for (int index = 0; index < node.NumberOfChildren(); ++index)
        count += node.GetChildNode(index) ? 1 : 0;
    return count;
}

// The entries of b's children when each has a "COMPID"; false otherwise.
bool CompleteChildEntries(const HostNode& b, std::vector<std::string>& entries)
{
    for (int index = 0; index < b.NumberOfChildren(); ++index) {
        const HostNode* child = b.GetChildNode(index);
        if (!child)
            continue;
        const std::string compId = UserPropText(*child, kCompId);
        if (compId.empty())
            return false;
        entries.push_back(compId + "-" + TransformKey(*child));
    }
    std::sort(entries.begin(), entries.end());
    return true;
}

bool IsEquivalentTo(const HostNode& a, const std::string& geomIdA, const std::vector<std::string>& entriesA,
    const HostNode& b)
{
    if (UserPropText(b, kGeomId) != geomIdA || CountChildren(a) != CountChildren(b))
        return false;
    std::vector<std::string> entriesB;
    return CompleteChildEntries(b, entriesB) && entriesB == entriesA;
}

} // namespace

std::vector<std::string> ChildEntries(const HostNode& node)
{
    std::vector<std::string> entries;
    for (int index = 0; index < node.NumberOfChildren(); ++index) {
        if (const HostNode* child = node.GetChildNode(index))
            entries.push_back(UserPropText(*child, kCompId) + "-" + TransformKey(*child));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool Equivalent(const HostNode& a, const HostNode& b)
{
    return IsEquivalentTo(a, UserPropText(a, kGeomId), ChildEntries(a), b);
}

CompIdGenerator::CompIdGenerator(HostNode* root)
    : root_(root)
{
}

bool CompIdGenerator::Run()
{
    registry_ = &CompIdRegistry::Instance();
    Log("CompIdGenerator Start...\r\n", true);
    Log("CompIdGenerator FindInstanceObjectsInScene()\r\n", true);
    if (root_)
        FindInstanceObjectsInScene(*root_);
    Log("CompIdGenerator MakeCompositeID()\r\n", true);
    MakeCompositeID();
    Log("CompIdGenerator Finished!\r\n", true);
    marks_.clear();
    childShapes_.clear();
    return true;
}

void CompIdGenerator::ClearMarks(HostNode& top)
{
    // Marks left by an earlier run in this process would make heads look complete too early.
    marks_.clear();
    childShapes_.clear();
    marks_[&top].openChildren = CountChildren(top);
    VisitBelow(top, [this](HostNode& node, bool) {
        node.SetScratchValue(0);
        marks_[&node].openChildren = CountChildren(node);
    });
}

void CompIdGenerator::FindInstanceObjectsInScene(HostNode& node)
{
    if (!registry_)
        registry_ = &CompIdRegistry::Instance();
    ClearMarks(node);
    VisitBelow(node, [this](HostNode& child, bool leaf) {
        if (leaf)
            PushLeaf(child);
        KeyNode(child, leaf);
    });
}

void CompIdGenerator::KeyNode(HostNode& node, bool leaf)
{
    const auto inserted = registry_->keyMap.Insert(GeometryKey(node));
    CompIdKeyEntry& entry = *inserted.value;
    if (inserted.isNew)
        entry.id.CreateSequential();
    entry.nodes.push_back(&node);

    const std::string id = entry.id.ToString().c_str();
    NodeProperty properties(&node);
    properties.SetKeyValue(kGeomId, id);
    if (leaf) {
        properties.SetKeyValue(kCompId, id);
        registry_->RecordId(entry.id, &node);
    }
}

void CompIdGenerator::MakeCompositeID()
{
    if (!registry_)
        registry_ = &CompIdRegistry::Instance();
    while (HostNode* node = PopLeaf()) {
        node->SetScratchValue(1);
        Refresh(*node);
        HostNode* parent = node->GetParentNode();
        if (!parent || parent->IsRootNode() || !IsComplete(*parent))
            continue;
        CompIdKeyEntry* entry = registry_->keyMap.GetPtr(GeometryKey(*parent));
        if (!entry)
            continue;
        std::erase(entry->nodes, node);
        std::erase(entry->nodes, parent);
        AssignGroupId(*parent, entry->nodes);
    }
    Log(FixedString::Formatted(
            "There are %d composite id(s) to be generated\r\n", static_cast<int>(registry_->ids.size()))
            .c_str(),
        true);
}

void CompIdGenerator::AssignGroupId(HostNode& p, const std::vector<HostNode*>& candidates)
{
    if (!registry_)
        registry_ = &CompIdRegistry::Instance();
    DUniqueID group;
    group.CreateSequential();
    const std::string text = group.ToString().c_str();

    const std::string geomId = UserPropText(p, kGeomId);
    const std::vector<std::string> entries = ChildEntries(p);
    const std::uint64_t shape = ChildShape(p);
    for (HostNode* candidate : candidates) {
        if (!candidate || candidate == &p || ChildShape(*candidate) != shape
            || !IsEquivalentTo(p, geomId, entries, *candidate))
            continue;
        candidate->SetUserPropString(kCompId, text);
        registry_->RecordId(group, candidate);
        PushLeaf(*candidate);
        RemoveChildrenFromLeafStack(*candidate);
    }
    p.SetUserPropString(kCompId, text);
    registry_->RecordId(group, &p);
    PushLeaf(p);
    RemoveChildrenFromLeafStack(p);
}

void CompIdGenerator::PushLeaf(HostNode& node)
{
    registry_->leafStack.Push(&node);
    Refresh(node);
}

HostNode* CompIdGenerator::PopLeaf()
{
    return registry_->leafStack.Pop();
}

void CompIdGenerator::RemoveChildrenFromLeafStack(const HostNode& node)
{
    for (int index = 0; index < node.NumberOfChildren(); ++index) {
        if (const HostNode* child = node.GetChildNode(index)) {
            registry_->leafStack.Remove(child);
            Refresh(*child);
        }
    }
}

// A child counts as handled once it has been taken from the leaf stack (scratch mark set) or while
// it is on it; its parent keeps the number of children not handled, so the completeness test does
// not walk the siblings.
void CompIdGenerator::Refresh(const HostNode& node)
{
    Mark& mark = marks_[&node];
    const bool handled = node.GetScratchValue() != 0 || registry_->leafStack.Contains(&node);
    if (handled == mark.handled)
        return;
    mark.handled = handled;
    if (const HostNode* parent = node.GetParentNode())
        marks_[parent].openChildren += handled ? -1 : 1;
}

// Equal child entries ("COMPID-transform key", sorted) mean equal sorted transform keys, as a
// transform key holds one "[", at its start; so unequal hashes rule a candidate out.
std::uint64_t CompIdGenerator::ChildShape(const HostNode& node)
{
    const auto found = childShapes_.find(&node);
    if (found != childShapes_.end())
        return found->second;
    std::vector<std::string> keys;
    for (int index = 0; index < node.NumberOfChildren(); ++index) {
        if (const HostNode* child = node.GetChildNode(index))
            keys.push_back(TransformKey(*child));
    }
    std::sort(keys.begin(), keys.end());
    std::uint64_t hash = 1469598103934665603ull;
    for (const std::string& key : keys) {
        for (const char c : key + "|") {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
    }
    childShapes_.emplace(&node, hash);
    return hash;
}

bool CompIdGenerator::IsComplete(const HostNode& node) const
{
    const auto found = marks_.find(&node);
    return found != marks_.end() && found->second.openChildren <= 0;
}

} // namespace vx
