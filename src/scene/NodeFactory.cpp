#include "scene/NodeFactory.h"

#include "scene/MyGeomNode.h"
#include "scene/MyGroupNode.h"
#include "scene/MyInstanceNode.h"
#include "scene/MyNullNode.h"
#include "scene/NodeProperty.h"
#include "scene/SceneTexts.h"

#include "host/Host.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

#include <string>

namespace vx {

namespace {

bool HasNullNodeKey(const NodeProperty& properties)
{
    for (const char* key : kNullNodeKeys) {
        if (properties.HasKey(key))
            return true;
    }
    return false;
}

HostNode* FindTemplateNode(const std::string& name)
{
    ExportRunState* exporter = CurrentExporter();
    if (!exporter || !exporter->host)
        return nullptr;
    return exporter->host->GetNodeByName(name.c_str());
}

// A group or geometry node for the object's class, or null.
StrongNode* MakeNodeOfClass(const HostObject* object)
{
    if (!object)
        return nullptr;
    if (IsDerivedSuperClass(object->GetSuperClassId()))
        object = object->FindBaseObject();
    if (!object)
        return nullptr;
    const std::uint32_t superClass = object->GetSuperClassId();
    if (superClass == kSuperClassHelper && object->GetClassId().a == kClassGroupHead.a)
        return new MyGroupNode();
    if (superClass == kSuperClassGeometry || superClass == kSuperClassShape)
        return new MyGeomNode();
    return nullptr;
}

void TakeCompId(StrongNode& node, const NodeProperty& properties)
{
    const int32_t line = properties.FindKey(kKeyCompId);
    std::string key;
    std::string value;
    if (line >= 0 && properties.GetKeyValue(line, key, value) && !value.empty())
        node.SetCompId(value.c_str());
}

void RemovePassKeys(NodeProperty& properties)
{
    properties.RemoveKey(kKeyCompId);
    properties.RemoveKey(kKeyGeomId);
}

} // namespace

BaseNode* CreateExportNode(HostNode* hostNode)
{
    if (!hostNode)
        return nullptr;
    NodeProperty properties(hostNode);
    const HostObject* object = hostNode->GetObjectRef();
    const std::uint32_t superClass = object ? object->GetSuperClassId() : 0;

    StrongNode* node = nullptr;
    std::string templateName;
    if (superClass == kSuperClassCamera || superClass == kSuperClassLight || HasNullNodeKey(properties)) {
        node = new MyNullNode();
    } else if (properties.HasKey(kKeyInstance, templateName)) {
        HostNode* templateNode = FindTemplateNode(templateName);
        if (!templateNode)
            return nullptr;
        node = new MyInstanceNode(templateNode);
        if (SceneContext* context = CurrentSceneContext())
            context->referencedNodes.emplace(templateNode, nullptr);
    } else {
        node = MakeNodeOfClass(object);
        if (!node)
            return nullptr;
        TakeCompId(*node, properties);
    }
    node->Build(hostNode);
    RemovePassKeys(properties);
    return node;
}

} // namespace vx
