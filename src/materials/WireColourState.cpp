#include "materials/WireColourState.h"

#include "base/FixedString.h"
#include "base/PointerMap.h"
#include "toolkit/VMMaterialProperty.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vx {

namespace {

float Visibility(float visibility)
{
    return std::isfinite(visibility) ? visibility : 1.0f;
}

// Kept for the life of the process: the lookup by key, and the references, released at exit.
struct WireTable {
    PointerMap<VMRenderState*> byKey;
    std::vector<VMRef<VMRenderState>> states;
};

WireTable& Table()
{
    static WireTable table;
    return table;
}

float Component(uint32_t key, int shift)
{
    return static_cast<float>((key >> shift) & 0xFFu) / 255.0f;
}

} // namespace

uint32_t WireColourKey(uint32_t wireColour, float visibility)
{
    const float scaled = std::nearbyint(Visibility(visibility) * 255.0f);
    const uint32_t alpha = static_cast<uint32_t>(std::clamp(scaled, 0.0f, 255.0f));
    return (wireColour & 0xF8F8F8u) | ((wireColour >> 5) & 0x070707u) | (alpha << 24);
}

VMRef<VMRenderState> WireColourState(uint32_t wireColour, float visibility)
{
    const float v = Visibility(visibility);
    const uint32_t key = WireColourKey(wireColour, v);
    if (VMRenderState* known = Table().byKey.Find(static_cast<PointerMap<VMRenderState*>::Key>(key)))
        return VMRef<VMRenderState>(known);

    VMRef<VMRenderState> state = MakeVMRef<VMRenderState>();
    auto* mp = state->AppendNew<VMMaterialProperty>();
    const VMColor colour {Component(key, 0), Component(key, 8), Component(key, 16)};
    mp->SetAmbient(colour);
    mp->SetDiffuse(colour);
    FixedString name;
    if (v < VMMaterialProperty::OPAQUE_ALPHA) {
        mp->SetAlpha(v);
        name.Format("Color %.2f %.2f %.2f %.2f", static_cast<double>(colour.r), static_cast<double>(colour.g),
            static_cast<double>(colour.b), static_cast<double>(v));
    } else {
        name.Format("Color %.2f %.2f %.2f", static_cast<double>(colour.r), static_cast<double>(colour.g),
            static_cast<double>(colour.b));
    }
    state->name = name.c_str();
    Table().states.push_back(state);
    Table().byKey.Set(static_cast<PointerMap<VMRenderState*>::Key>(key), state.Get());
    return state;
}

} // namespace vx
