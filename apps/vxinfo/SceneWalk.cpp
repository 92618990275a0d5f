#include "vxinfo/SceneWalk.h"

#include <set>

namespace vxinfo {

PlacementIndex IndexPlacements(const DesignContent& content)
{
    PlacementIndex index;
    for (const ObjectRow& o : content.objects)
        index.objects[o.luid] = &o;
    for (const InstanceRow& i : content.instances)
        index.placedBy[i.owner].push_back(&i);
    return index;
}

namespace {

void Walk(const PlacementIndex& index, const ObjectRow& object, const Affine& toRoot, std::set<Luid>& path,
    const std::function<void(const ObjectRow&, const Affine&)>& onObject)
{
    onObject(object, toRoot);
    const auto children = index.placedBy.find(object.luid);
    if (children == index.placedBy.end() || !path.insert(object.luid).second)
        return;
    for (const InstanceRow* i : children->second) {
        const auto target = index.objects.find(i->object);
        if (target == index.objects.end() || path.count(i->object))
            continue;
        Walk(index, *target->second, Multiply(toRoot, PlacementTransform(i->placement)), path, onObject);
    }
    path.erase(object.luid);
}

} // namespace

void ForEachPlacedObject(const DesignContent& content, const PlacementIndex& index,
    const std::function<void(const ObjectRow& object, const Affine& toRoot)>& onObject)
{
    if (content.roots.empty())
        return;
    const auto root = index.objects.find(content.roots.front().object);
    if (root == index.objects.end())
        return;
    std::set<Luid> path;
    Walk(index, *root->second, Affine {}, path, onObject);
}

} // namespace vxinfo
