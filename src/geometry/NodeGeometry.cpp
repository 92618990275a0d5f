#include "geometry/NodeGeometry.h"

#include "geometry/GeometryConvertor.h"

namespace vx {

void ConvertNodeGeometry(HostNode& node, Array<GeometryPair>& destination)
{
    GeometryConvertor convertor;
    if (convertor.Convert(node) == GeometryConvertor::FAILED)
        return;
    for (const GeometryPair& pair : convertor.Parts())
        destination.Append(pair);
}

} // namespace vx
