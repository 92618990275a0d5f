#include "vxinfo/TreeReport.h"

#include <functional>
#include <set>
#include <sstream>
#include <unordered_map>

namespace vxinfo {

namespace {

struct TreeIndex {
    std::unordered_map<Luid, const ObjectRow*> objects;
    std::unordered_map<Luid, std::vector<const InstanceRow*>> placedBy; // owner -> its instances
    std::unordered_map<Luid, const DictionaryRow*> dictionary;
    std::unordered_map<Luid, std::vector<const PropertyRow*>> properties;
};

TreeIndex IndexContent(const DesignContent& c)
{
    TreeIndex index;
    for (const ObjectRow& o : c.objects)
        index.objects[o.luid] = &o;
    for (const InstanceRow& i : c.instances)
        index.placedBy[i.owner].push_back(&i);
    for (const DictionaryRow& d : c.dictionary)
        index.dictionary[d.luid] = &d;
    for (const PropertyRow& p : c.properties)
        index.properties[p.luid].push_back(&p);
    return index;
}

std::vector<TreeProperty> PropertiesOf(const TreeIndex& index, Luid luid)
{
    std::vector<TreeProperty> list;
    const auto found = index.properties.find(luid);
    if (found == index.properties.end())
        return list;
    for (const PropertyRow* p : found->second) {
        TreeProperty property;
        const auto entry = index.dictionary.find(p->dictionary);
        property.name
            = entry == index.dictionary.end() ? "#" + std::to_string(p->dictionary) : entry->second->name;
        property.type = entry == index.dictionary.end() ? 0 : entry->second->type;
        property.value = p->value;
        property.binarySize = p->binarySize;
        list.push_back(property);
    }
    return list;
}

void Fill(const TreeIndex& index, TreeNode& node, int depth, int maxDepth, std::set<Luid>& path)
{
    const auto object = index.objects.find(node.object);
    if (object != index.objects.end())
        node.objectName = object->second->name;
    const auto children = index.placedBy.find(node.object);
    if (children == index.placedBy.end())
        return;
    if ((maxDepth >= 0 && depth >= maxDepth) || path.count(node.object)) {
        node.cut = true;
        return;
    }
    path.insert(node.object);
    for (const InstanceRow* i : children->second) {
        TreeNode child;
        child.instance = i->luid;
        child.name = i->name;
        child.object = i->object;
        child.placement = i->placement;
        child.properties = PropertiesOf(index, i->luid);
        Fill(index, child, depth + 1, maxDepth, path);
        node.children.push_back(std::move(child));
    }
    path.erase(node.object);
}

std::string Number(double v)
{
    std::ostringstream text;
    text << v;
    return text.str();
}

std::string PropertyText(const TreeProperty& p)
{
    std::string text = p.name;
    if (p.type >= 640 && p.type <= 643)
        return "group " + text;
    if (p.value)
        text += " = " + *p.value;
    if (p.binarySize > 0)
        text += " [" + std::to_string(p.binarySize) + " bytes]";
    return text;
}

void WriteNode(std::ostringstream& out, const TreeNode& node, int depth)
{
    const std::string indent(static_cast<std::size_t>(2 * depth), ' ');
    if (node.instance == 0) {
        out << "root object " << node.object << (node.objectName.empty() ? "" : " " + node.objectName)
            << "\n";
    } else {
        const StoredPlacement& p = node.placement;
        out << indent << (node.name.empty() ? "-" : node.name) << " [instance " << node.instance
            << "] -> object " << node.object << (node.objectName.empty() ? "" : " " + node.objectName)
            << " at (" << Number(p.position[0]) << ", " << Number(p.position[1]) << ", "
            << Number(p.position[2]) << ") rot (" << Number(p.angles[0]) << ", " << Number(p.angles[1])
            << ", " << Number(p.angles[2]) << ")\n";
        for (const TreeProperty& property : node.properties)
            out << indent << "    " << PropertyText(property) << "\n";
    }
    for (const TreeNode& child : node.children)
        WriteNode(out, child, depth + 1);
    if (node.cut)
        out << indent << "  ...\n";
}

} // namespace

std::optional<TreeNode> BuildInstanceTree(const DesignContent& content, int maxDepth)
{
    if (content.roots.empty())
        return std::nullopt;
    const TreeIndex index = IndexContent(content);
    TreeNode root;
    root.object = content.roots.front().object;
    std::set<Luid> path;
    Fill(index, root, 0, maxDepth, path);
    return root;
}

std::string FormatTree(const TreeNode& root)
{
    std::ostringstream out;
    WriteNode(out, root, 0);
    return out.str();
}

nlohmann::json TreeJson(const TreeNode& node)
{
    nlohmann::json j;
    if (node.instance != 0) {
        j["instance"] = node.instance;
        j["name"] = node.name;
        j["position"] = node.placement.position;
        j["rotation"] = node.placement.angles;
        nlohmann::json properties = nlohmann::json::array();
        for (const TreeProperty& p : node.properties) {
            nlohmann::json property {{"name", p.name}, {"type", p.type}};
            property["value"] = p.value ? nlohmann::json(*p.value) : nlohmann::json(nullptr);
            if (p.binarySize > 0)
                property["bytes"] = p.binarySize;
            properties.push_back(property);
        }
        j["properties"] = properties;
    }
    j["object"] = node.object;
    j["objectName"] = node.objectName;
    nlohmann::json children = nlohmann::json::array();
    for (const TreeNode& child : node.children)
        children.push_back(TreeJson(child));
    j["children"] = children;
    if (node.cut)
        j["cut"] = true;
    return j;
}

} // namespace vxinfo
