#include "exporter/DesignRoot.h"
#include "run/ExportRunState.h"

#include "exporter/ExportTexts.h"

#include "base/Paths.h"
#include "base/UniqueId.h"

#include <cmath>

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
    if (lodType >= 0 && lodType <= 2)
        return lodType;
    if (!box.valid)
        return 0;
    const float tenth = 0.1f;
    const Vector3 extent = box.max - box.min;
    const int thin = (extent.x < tenth) + (extent.y < tenth) + (extent.z < tenth);
    if (thin >= 2)
        return 2;
    const long double diagonal = Length(extent);
    if (diagonal > 60 * tenth)
        return 0;
    if (diagonal > 10 * tenth)
        return 1;
    return 2;
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
