#include "animation/WriteAnimationData.h"

#include "animation/AnimationBlobName.h"
#include "animation/AnimationBuilder.h"

#include "database/DesignDatabase.h"
#include "database/FilesEntry.h"
#include "design/CompositeObject.h"
#include "design/ObjectInstance.h"
#include "design/PropertyKey.h"
#include "design/PropertyTypes.h"
#include "host/HostNode.h"
#include "run/ExportRunState.h"
#include "run/SceneContext.h"

namespace vx {

AnimationContext MakeRunAnimationContext(const HostNode& node)
{
    AnimationContext context;
    if (ExportRunState* exporter = CurrentExporter()) {
        exporter->animationSettings = AnimationSettings {};
        context.host = exporter->host;
        context.settings = exporter->animationSettings;
    }
    if (const SceneContext* scene = CurrentSceneContext())
        context.scaleFactor = scene->scaleFactor;
    context.objectName = node.GetName();
    return context;
}

std::string WriteAnimationData(
    ZR::ObjectInstance& record, const HostNode& node, const AnimationContext& context, SqlWriter* writer)
{
    if (!writer)
        return {};
    AnimationBuilder builder(context);
    builder.Build(node);
    if (AnimationExtension(builder.GetKind())[0] == '\0')
        return {};
    if (builder.Serialise() == 0)
        return {};
    const std::string name = AnimationBlobName(builder.GetBlob(), builder.GetKind());
    FilesEntry entry(*writer);
    if (entry.Open(name, 0)) {
        entry.Write(builder.GetBlob().data(), builder.GetBlob().size());
        entry.Close();
    }
    const ZR::PropertyKey key = ZR::MakePropertyKey("AnimationData", ZR::PROPERTY_TYPE_ANIMATION_DATA);
    record.properties.SetText(key, name);
    if (record.object && !record.object->data.properties.FindText(key))
        record.object->data.properties.SetText(key, name);
    return name;
}

std::string WriteAnimationData(ZR::ObjectInstance& record, const HostNode& node)
{
    return WriteAnimationData(record, node, MakeRunAnimationContext(node), CurrentSqlWriter());
}

} // namespace vx
