#include "scene/passes/RemovePassKeys.h"

#include "scene/passes/SceneWalk.h"

#include "scene/NodeProperty.h"

#include "host/HostNode.h"

#include <string>

namespace vx {

void RemovePassKeys(HostNode* root)
{
    if (!root)
        return;
    VisitBelow(*root, [](HostNode& node, bool) {
        for (const char* key : {"COMPID", "GEOMID"}) {
            std::string value;
            if (node.GetUserPropString(key, value))
                NodeProperty(&node).RemoveKey(key);
        }
    });
}

} // namespace vx
