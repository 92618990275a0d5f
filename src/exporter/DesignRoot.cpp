#include "exporter/DesignRoot.h"

#include "run/ExportRunState.h"
#include "scene/LodType.h"

#include "exporter/ExportTexts.h"

#include "base/Paths.h"
#include "base/UniqueId.h"

namespace vx {

std::string DesignNameOf(const std::string& targetPath)
{
    const std::string title = GetFileTitle(targetPath.c_str());
    if (title.empty())
        return kTextNoName;
    return GetFileTitle(title.c_str());
}

int32_t LodTypeWithoutProperties(int32_t lodType, const ZR::Aabb& box)
{
    return GetLodType(lodType, nullptr, box);
}

ZR::CompositeObject* CreateDesignRoot(ZR::Design& design, const char* name, int32_t lodType)
{
    ZR::CompositeObject* root = design.FindOrCreate(DUniqueID::NewSequential()).record;
    root->data.Aabb.min = {-1000.0f, -1000.0f, -1000.0f};
    root->data.Aabb.max = {1000.0f, 1000.0f, 1000.0f};
    root->data.Aabb.valid = true;
    root->name.Assign(name);
    root->data.Lod = LodTypeWithoutProperties(lodType, root->data.Aabb);
    root->data.chain = 0;
    root->fromGeometryNode = false;
    design.SetRoot(root);
    return root;
}

} // namespace vx
