#include "scenefile/SceneNodeReader.h"

#include "scenefile/PathCycle.h"
#include "scenefile/SceneControllerReader.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <utility>

namespace vx {

namespace {

// A place in a "children" array: a nested node (its declaration index) or a reference by id.
struct ChildRef {
    int decl = -1;
    std::string id;
    std::string pointer;
};

struct NodeDecl {
    std::string pointer;
    std::optional<std::string> id;
    bool nested = false;
    std::vector<ChildRef> children;

    std::string name;
    HostObject* object = nullptr;
    HostMaterial* material = nullptr;
    HostMatrix3 local;
    HostPoint3 offsetPosition;
    HostQuat offsetRotation;
    HostPoint3 offsetScale {1, 1, 1};
    bool worldSpaceModifier = false;
    std::string userProperties;
    std::uint32_t wireColor = 0x00808080;
    float visibility = 1.0f;
    bool hidden = false;
    // The node's "animation" and its pointer; null without one.
    const Json* animation = nullptr;
    std::string animationPointer;
    MemoryNode* built = nullptr;
};

struct Trs {
    HostPoint3 position;
    HostQuat rotation;
    HostPoint3 scale {1, 1, 1};

    HostMatrix3 GetMatrix() const
    {
        return MakeScaleMatrix(scale) * MakeRotationMatrix(rotation) * MakeTranslationMatrix(position);
    }
};

class NodeReader {
public:
    explicit NodeReader(SceneReadContext& context)
        : context_(context)
        , reader_(context.reader)
    {
    }

    void Read(const JsonAt& at);

private:
    int ParseNode(const JsonAt& at, int depth, bool nested);
    void ParseFields(const JsonAt& at, NodeDecl& decl);
    Trs ReadTrs(const JsonAt& at, bool allowEuler) const;
    HostMatrix3 ReadMatrix(const JsonAt& at) const;
    std::uint32_t ReadWireColor(const JsonAt& at) const;
    void ResolveReferences();
    void BuildTree();
    void ReadAnimations();

    SceneReadContext& context_;
    const JsonReader& reader_;
    std::vector<NodeDecl> decls_;
    std::vector<int> topLevel_;
    // For each declaration placed by a reference: the pointer of that reference.
    std::vector<std::string> referencedAt_;
};

void NodeReader::Read(const JsonAt& at)
{
    const size_t count = reader_.RequireArray(at);
    // Declarations are large: growing the list a node at a time would move them again and again.
    // The room is bounded, since the array's elements are not checked yet.
    decls_.reserve(std::min<size_t>(count, 65536));
    topLevel_.reserve(decls_.capacity());
    for (size_t i = 0; i < count; ++i)
        topLevel_.push_back(ParseNode(reader_.GetElement(at, i), 1, false));
    ResolveReferences();
    BuildTree();
    ReadAnimations();
}

int NodeReader::ParseNode(const JsonAt& at, int depth, bool nested)
{
    if (depth > context_.limits.maxNodeDepth)
        reader_.Fail(SceneLoadErrorKind::TooDeep, at.pointer,
            "the node hierarchy is deeper than " + std::to_string(context_.limits.maxNodeDepth) + " levels");
    if (decls_.size() >= context_.limits.maxDeclarations)
        reader_.Fail(SceneLoadErrorKind::SizeLimit, at.pointer,
            "the file declares more than " + std::to_string(context_.limits.maxDeclarations) + " nodes");
    reader_.RequireObject(at,
        {"name", "id", "object", "material", "transform", "objectOffset", "worldSpaceModifier",
            "userProperties", "wireColor", "visibility", "hidden", "children", "animation"});
    const int index = static_cast<int>(decls_.size());
    decls_.emplace_back();
    {
        NodeDecl& decl = decls_.back();
        decl.pointer = at.pointer;
        decl.nested = nested;
        ParseFields(at, decl);
    }
    if (auto childrenAt = reader_.FindField(at, "children")) {
        const size_t count = reader_.RequireArray(*childrenAt);
        for (size_t i = 0; i < count; ++i) {
            const JsonAt childAt = reader_.GetElement(*childrenAt, i);
            ChildRef child;
            child.pointer = childAt.pointer;
            if (childAt.value.is_string())
                child.id = reader_.ReadString(childAt);
            else if (childAt.value.is_object())
                child.decl = ParseNode(childAt, depth + 1, true);
            else
                reader_.Fail(SceneLoadErrorKind::WrongType, childAt.pointer,
                    std::string("expected a node or a node id, found ")
                        + JsonReader::GetTypeName(childAt.value));
            decls_[index].children.push_back(std::move(child));
        }
    }
    return index;
}

void NodeReader::ParseFields(const JsonAt& at, NodeDecl& decl)
{
    decl.name = reader_.ReadString(reader_.GetField(at, "name"));
    if (auto idAt = reader_.FindField(at, "id"))
        decl.id = reader_.ReadString(*idAt);
    if (auto objectAt = reader_.FindField(at, "object")) {
        const std::string id = reader_.ReadString(*objectAt);
        const auto found = context_.objects.find(id);
        if (found == context_.objects.end())
            reader_.Fail(SceneLoadErrorKind::UnknownReference, objectAt->pointer,
                "no object has the id \"" + id + "\"");
        decl.object = found->second;
    }
    if (auto materialAt = reader_.FindField(at, "material")) {
        const std::string id = reader_.ReadString(*materialAt);
        const auto found = context_.materials.find(id);
        if (found == context_.materials.end())
            reader_.Fail(SceneLoadErrorKind::UnknownReference, materialAt->pointer,
                "no material has the id \"" + id + "\"");
        decl.material = found->second;
    }
    if (auto transformAt = reader_.FindField(at, "transform"))
        decl.local = transformAt->value.is_array() ? ReadMatrix(*transformAt)
                                                   : ReadTrs(*transformAt, true).GetMatrix();
    if (auto offsetAt = reader_.FindField(at, "objectOffset")) {
        const Trs offset = ReadTrs(*offsetAt, true);
        decl.offsetPosition = offset.position;
        decl.offsetRotation = offset.rotation;
        decl.offsetScale = offset.scale;
    }
    if (auto wsmAt = reader_.FindField(at, "worldSpaceModifier"))
        decl.worldSpaceModifier = reader_.ReadBool(*wsmAt);
    if (auto propertiesAt = reader_.FindField(at, "userProperties"))
        decl.userProperties = ReadUserPropertyText(context_, *propertiesAt);
    if (auto wireAt = reader_.FindField(at, "wireColor"))
        decl.wireColor = ReadWireColor(*wireAt);
    if (auto visibilityAt = reader_.FindField(at, "visibility"))
        decl.visibility = reader_.ReadFloatIn(*visibilityAt, 0.0f, 1.0f);
    if (auto hiddenAt = reader_.FindField(at, "hidden"))
        decl.hidden = reader_.ReadBool(*hiddenAt);
    if (auto animationAt = reader_.FindField(at, "animation")) {
        decl.animation = &animationAt->value;
        decl.animationPointer = animationAt->pointer;
    }
}

HostMatrix3 NodeReader::ReadMatrix(const JsonAt& at) const
{
    if (reader_.RequireArray(at) != 4)
        reader_.Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
            "a matrix has 4 rows (x axis, y axis, z axis, translation), found "
                + std::to_string(at.value.size()));
    HostMatrix3 m;
    for (size_t i = 0; i < 4; ++i)
        m.rows[i] = reader_.ReadPoint3(reader_.GetElement(at, i));
    return m;
}

Trs NodeReader::ReadTrs(const JsonAt& at, bool allowEuler) const
{
    if (allowEuler)
        reader_.RequireObject(at, {"position", "rotation", "eulerDegrees", "scale"});
    else
        reader_.RequireObject(at, {"position", "rotation", "scale"});
    Trs trs;
    if (auto positionAt = reader_.FindField(at, "position"))
        trs.position = reader_.ReadPoint3(*positionAt);
    if (auto scaleAt = reader_.FindField(at, "scale"))
        trs.scale = reader_.ReadPoint3(*scaleAt);
    auto rotationAt = reader_.FindField(at, "rotation");
    auto eulerAt = allowEuler ? reader_.FindField(at, "eulerDegrees") : std::nullopt;
    if (rotationAt && eulerAt)
        reader_.Fail(SceneLoadErrorKind::InvalidValue, eulerAt->pointer,
            "give either \"rotation\" or \"eulerDegrees\", not both");
    if (rotationAt)
        trs.rotation = reader_.ReadQuat(*rotationAt);
    if (eulerAt) {
        const HostPoint3 degrees = reader_.ReadPoint3(*eulerAt);
        constexpr float kRadians = static_cast<float>(std::numbers::pi / 180.0);
        // About x first, then y, then z.
        const HostMatrix3 rotation
            = MakeRotationMatrix(MakeQuatFromAxisAngle({1, 0, 0}, degrees.x * kRadians))
            * MakeRotationMatrix(MakeQuatFromAxisAngle({0, 1, 0}, degrees.y * kRadians))
            * MakeRotationMatrix(MakeQuatFromAxisAngle({0, 0, 1}, degrees.z * kRadians));
        trs.rotation = MakeQuatFromMatrix(rotation);
    }
    return trs;
}

std::uint32_t NodeReader::ReadWireColor(const JsonAt& at) const
{
    if (reader_.RequireArray(at) != 3)
        reader_.Fail(SceneLoadErrorKind::InvalidValue, at.pointer,
            "a wire colour is [red, green, blue], found " + std::to_string(at.value.size()) + " values");
    std::uint32_t color = 0;
    for (size_t i = 0; i < 3; ++i)
        color |= static_cast<std::uint32_t>(reader_.ReadInteger(reader_.GetElement(at, i), 0, 255))
            << (8 * i);
    return color;
}

void NodeReader::ResolveReferences()
{
    std::unordered_map<std::string, int> byId;
    for (size_t i = 0; i < decls_.size(); ++i) {
        if (!decls_[i].id)
            continue;
        if (!byId.emplace(*decls_[i].id, static_cast<int>(i)).second)
            reader_.Fail(SceneLoadErrorKind::DuplicateId, AppendPointer(decls_[i].pointer, "id"),
                "another node already has the id \"" + *decls_[i].id + "\"");
    }
    referencedAt_.assign(decls_.size(), std::string());
    for (size_t i = 0; i < decls_.size(); ++i) {
        for (ChildRef& child : decls_[i].children) {
            if (child.decl >= 0)
                continue;
            const auto found = byId.find(child.id);
            if (found == byId.end())
                reader_.Fail(SceneLoadErrorKind::UnknownReference, child.pointer,
                    "no node has the id \"" + child.id + "\"");
            const int target = found->second;
            if (target == static_cast<int>(i))
                reader_.Fail(SceneLoadErrorKind::NotATree, child.pointer,
                    "node \"" + child.id + "\" is made a child of itself");
            if (decls_[target].nested)
                reader_.Fail(SceneLoadErrorKind::NotATree, child.pointer,
                    "node \"" + child.id + "\" is placed twice: it is nested at " + decls_[target].pointer
                        + " and referenced here");
            if (!referencedAt_[target].empty())
                reader_.Fail(SceneLoadErrorKind::NotATree, child.pointer,
                    "node \"" + child.id + "\" is placed twice: it is referenced at " + referencedAt_[target]
                        + " and here");
            referencedAt_[target] = child.pointer;
            child.decl = target;
        }
    }
}

void NodeReader::BuildTree()
{
    struct Pending {
        int decl;
        MemoryNode* parent;
        int depth;
    };
    std::vector<Pending> pending;
    for (auto it = topLevel_.rbegin(); it != topLevel_.rend(); ++it)
        if (referencedAt_[*it].empty())
            pending.push_back({*it, &context_.host.GetRoot(), 1});
    std::vector<bool> built(decls_.size(), false);
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        const NodeDecl& decl = decls_[next.decl];
        if (next.depth > context_.limits.maxNodeDepth)
            reader_.Fail(SceneLoadErrorKind::TooDeep, decl.pointer,
                "the node hierarchy is deeper than " + std::to_string(context_.limits.maxNodeDepth)
                    + " levels");
        built[next.decl] = true;
        MemoryNode& node = context_.host.AddNode(*next.parent, decl.name);
        node.SetObjectRef(decl.object);
        node.SetMaterial(decl.material);
        node.SetLocalTM(decl.local);
        node.SetObjectOffset(decl.offsetPosition, decl.offsetRotation, decl.offsetScale);
        node.SetWorldSpaceModifier(decl.worldSpaceModifier);
        node.SetUserPropBuffer(decl.userProperties.c_str());
        node.SetWireColor(decl.wireColor);
        node.SetVisibility(decl.visibility);
        node.SetHidden(decl.hidden);
        decls_[next.decl].built = &node;
        for (auto it = decl.children.rbegin(); it != decl.children.rend(); ++it)
            pending.push_back({it->decl, &node, next.depth + 1});
    }
    for (size_t i = 0; i < decls_.size(); ++i)
        if (!built[i])
            reader_.Fail(SceneLoadErrorKind::NotATree, decls_[i].pointer,
                "node \"" + decls_[i].name
                    + "\" cannot be reached from the scene root: its references form a cycle");
}

// Animations are read once every node exists, so that a path constraint may name any node. A path
// constraint that makes its node's transform depend on itself is refused.
void NodeReader::ReadAnimations()
{
    std::unordered_map<std::string, MemoryNode*> nodesById;
    for (const NodeDecl& decl : decls_)
        if (decl.id)
            nodesById.emplace(*decl.id, decl.built);
    std::vector<const HostNode*> animated;
    for (const NodeDecl& decl : decls_)
        if (decl.animation) {
            ReadNodeAnimation(context_, JsonAt {*decl.animation, decl.animationPointer}, decl.local,
                *decl.built, nodesById);
            animated.push_back(decl.built);
        }
    const HostNode* cyclic = FindPathCycle(animated);
    if (!cyclic)
        return;
    const auto decl
        = std::find_if(decls_.begin(), decls_.end(), [&](const NodeDecl& d) { return d.built == cyclic; });
    if (decl == decls_.end())
        return;
    const HostNode* pathNode = GetFollowedPathNode(*cyclic);
    bool below = false;
    for (const HostNode* above = pathNode ? pathNode->GetParentNode() : nullptr; above && !below;
         above = above->GetParentNode())
        below = above == cyclic;
    std::string what = "depends on the node's transform through further path constraints";
    if (pathNode == cyclic)
        what = "is the node itself";
    else if (below)
        what = "is one of the node's children";
    const std::string name = pathNode ? pathNode->GetName() : "";
    reader_.Fail(SceneLoadErrorKind::ReferenceCycle,
        AppendPointer(AppendPointer(decl->animationPointer, "position"), "path"),
        "the path node '" + name + "' " + what + ": the node's transform would depend on itself");
}

} // namespace

void ReadNodes(SceneReadContext& context, const JsonAt& at)
{
    NodeReader(context).Read(at);
}

std::string ReadUserPropertyText(const SceneReadContext& context, const JsonAt& at)
{
    const JsonReader& reader = context.reader;
    if (at.value.is_string())
        return reader.ReadString(at);
    if (!at.value.is_array())
        reader.Fail(SceneLoadErrorKind::WrongType, at.pointer,
            std::string("expected a string or an array of lines, found ")
                + JsonReader::GetTypeName(at.value));
    std::string text;
    const size_t count = at.value.size();
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += '\n';
        text += reader.ReadString(reader.GetElement(at, i));
    }
    return text;
}

} // namespace vx
