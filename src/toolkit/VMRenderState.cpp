#include "toolkit/VMRenderState.h"

#include "toolkit/VMAlphaProperty.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMRenderFlagsProperty.h"
#include "toolkit/VMTextureProperty.h"

namespace vx {

VMRenderProperty* VMRenderState::FindProperty(VMPropertyClass c) const
{
    for (uint32_t i = properties.Count(); i > 0; --i) {
        VMRenderProperty* property = properties[i - 1].Get();
        if (property && property->Class() == c)
            return property;
    }
    return nullptr;
}

void VMRenderState::AppendProperty(VMRenderProperty* property)
{
    if (property)
        properties.Append(VMRef<VMRenderProperty>(property));
}

void VMRenderState::RemoveProperty(const VMRenderProperty* property)
{
    for (uint32_t i = 0; i < properties.Count(); ++i) {
        if (properties[i].Get() == property) {
            Array<VMRef<VMRenderProperty>> kept;
            for (uint32_t j = 0; j < properties.Count(); ++j) {
                if (j != i)
                    kept.Append(properties[j]);
            }
            properties = std::move(kept);
            return;
        }
    }
}

bool AreIdenticalStates(const VMRenderState* a, const VMRenderState* b)
{
    if (a == b)
        return true;
    if (!a || !b || a->PropertyCount() != b->PropertyCount())
        return false;
    for (const VMRef<VMRenderProperty>& property : a->properties) {
        if (!property)
            continue;
        const VMRenderProperty* match = b->FindProperty(property->Class());
        if (!match || (match != property.Get() && !property->Equals(*match)))
            return false;
    }
    return true;
}

uint64_t StateIdentityKey(const VMRenderState& state)
{
    uint64_t key = 1469598103934665603ull;
    auto mix = [&key](uint64_t value) {
        key ^= value;
        key *= 1099511628211ull;
    };
    mix(static_cast<uint64_t>(state.PropertyCount()));
    uint64_t classes = 0;
    for (const VMRef<VMRenderProperty>& property : state.properties) {
        if (property)
            classes |= 1ull << static_cast<unsigned>(property->Class());
    }
    mix(classes);
    if (const auto* mp = state.Find<VMMaterialProperty>()) {
        mix(static_cast<uint64_t>(mp->UseAmbient) | static_cast<uint64_t>(mp->UseDiffuse) << 1
            | static_cast<uint64_t>(mp->UseSpecular) << 2 | static_cast<uint64_t>(mp->UseEmissive) << 3
            | static_cast<uint64_t>(mp->UseAlpha) << 4);
    }
    if (const auto* ap = state.Find<VMAlphaProperty>()) {
        mix(static_cast<uint32_t>(ap->sourceFactor));
        mix(static_cast<uint32_t>(ap->destinationFactor));
    }
    if (const auto* fp = state.Find<VMRenderFlagsProperty>()) {
        mix(fp->flags);
        mix(fp->reserved);
    }
    if (const auto* tp = state.Find<VMTextureProperty>())
        mix(static_cast<uint64_t>(tp->SlotCount()));
    return key;
}

} // namespace vx
