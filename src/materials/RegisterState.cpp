#include "materials/ConvertMaterial.h"

#include "materials/MaterialTable.h"
#include "materials/PerRunTable.h"
#include "toolkit/VMMessages.h"

#include <string>

namespace vx {

namespace {

MaterialTable& Table()
{
    static MaterialTable table;
    return table;
}

std::string NameOf(const VMRenderState& state)
{
    return state.name.c_str();
}

} // namespace

MaterialTable& CurrentMaterialTable()
{
    static PerRunTable hook([] { Table().Clear(); });
    hook.Touch();
    return Table();
}

VMRef<VMRenderState> RegisterState(const HostMaterial* material, VMRenderState* state)
{
    MaterialTable& table = CurrentMaterialTable();
    if (state) {
        if (VMRenderState* earlier = table.states.FindIdentical(*state)) {
            if (NameOf(*state) != NameOf(*earlier)) {
                ReportInformation(std::string("Identical materials have different names: ") + NameOf(*state)
                    + ", " + NameOf(*earlier));
            }
            state = earlier;
        } else {
            std::vector<VMRenderState*>& named = table.byName[NameOf(*state)];
            if (!named.empty())
                ReportWarning(std::string("Different materials have the same name: ") + NameOf(*state));
            named.push_back(state);
            table.states.Add(state);
        }
    }
    if (material) {
        if (table.byMaterial.Find(material) == nullptr && state)
            ++table.materialCount;
        table.byMaterial.Set(material, state);
    }
    return VMRef<VMRenderState>(state);
}

std::size_t MaterialTableCount()
{
    return Table().materialCount;
}

} // namespace vx
