#include "scene/ConversionGuard.h"

#include <set>

namespace vx {

namespace {

std::set<const BaseNode*>& NodesConverting()
{
    static std::set<const BaseNode*> nodes;
    return nodes;
}

} // namespace

ConversionGuard::ConversionGuard(const BaseNode* node)
    : node_(node)
    , added_(NodesConverting().insert(node).second)
{
}

ConversionGuard::~ConversionGuard()
{
    if (added_)
        NodesConverting().erase(node_);
}

bool ConversionGuard::IsConverting(const BaseNode* node)
{
    return NodesConverting().count(node) != 0;
}

} // namespace vx
