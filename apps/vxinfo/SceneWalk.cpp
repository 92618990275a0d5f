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

class Walker {
public:
    Walker(const PlacementIndex& index, const std::function<void(const PlacedObject&)>& onObject)
        : index_(index)
        , onObject_(onObject)
    {
    }

    void Walk(const ObjectRow& object, const Affine& toRoot)
    {
        onObject_(PlacedObject {object, toRoot, path_});
        const auto children = index_.placedBy.find(object.luid);
        if (children == index_.placedBy.end())
            return;
        objects_.insert(object.luid);
        for (const InstanceRow* i : children->second) {
            const auto target = index_.objects.find(i->object);
            if (target == index_.objects.end() || objects_.count(i->object))
                continue;
            path_.push_back(i);
            Walk(*target->second, Multiply(toRoot, InstanceTransform(*i)));
            path_.pop_back();
        }
        objects_.erase(object.luid);
    }

private:
    const PlacementIndex& index_;
    const std::function<void(const PlacedObject&)>& onObject_;
    std::set<Luid> objects_; // the objects on the path
    std::vector<const InstanceRow*> path_;
};

} // namespace

void ForEachPlacedObject(const DesignContent& content, const PlacementIndex& index,
    const std::function<void(const PlacedObject& placed)>& onObject)
{
    if (content.roots.empty())
        return;
    const auto root = index.objects.find(content.roots.front().object);
    if (root == index.objects.end())
        return;
    Walker(index, onObject).Walk(*root->second, Affine {});
}

} // namespace vxinfo
