#include "scene/DesignBounds.h"

#include "design/Bounds.h"
#include "design/CompositeObject.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

#include <string>
namespace vx {

void ComputeCompositeBounds(ZR::CompositeObject& object)
{
    ZR::ComputeBounds(object, [](const ZR::CompositeObject& rejected, const char* reason) {
        ExportRunState* exporter = CurrentExporter();
        SceneContext* context = CurrentSceneContext();
        if (!exporter || (context && !context->rejectedBoxes.insert(&rejected).second))
            return;
        const char* name = rejected.name.IsEmpty() ? kTextNoName : rejected.name.c_str();
        std::string line = std::string("Bounding box of object \"") + name + "\": " + reason;
        exporter->WriteLogLine(line.c_str());
    });
}

} // namespace vx
