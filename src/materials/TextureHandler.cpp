#include "materials/TextureHandler.h"

#include "host/HostTexture.h"
#include "materials/ConvertMaterial.h"
#include "materials/MakeTexture.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMMessages.h"
#include "toolkit/VMRenderState.h"
#include "toolkit/VMTextureProperty.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vx {

namespace {

constexpr float MIN_AMOUNT = 0.1f;
constexpr float FULL_AMOUNT = 0.99f;
constexpr float BRIGHT_SPECULAR = 0.89f;
constexpr int MAX_DEPTH = 32;

constexpr int SLOT_BASE = 0;
constexpr int SLOT_SPECULAR = 3;
constexpr int SLOT_SELF_ILLUMINATION = 4;
constexpr int SLOT_BUMP = 5;
constexpr int SLOT_OPACITY = 6;
constexpr int SLOT_OTHER = 7;
constexpr int SLOT_SHADER_ALPHA = 9;

constexpr uint32_t SOURCE_ENVIRONMENT = 0x12;
constexpr uint32_t SOURCE_VERTEX_COLOUR = 0x14;
constexpr uint32_t SOURCE_GENERATED = 0x15;

constexpr HostClassId kBaseOnlyKind {0, 0};

// value with width bits at shift replaced by bits.
uint32_t WithBits(uint32_t value, int shift, int width, uint32_t bits)
{
    const uint32_t mask = ((1u << width) - 1u) << shift;
    return (value & ~mask) | ((bits << shift) & mask);
}

// The mode-word fields a slot's blending uses.
uint32_t WithMode(uint32_t word, uint32_t mode)
{
    return WithBits(word, 24, 4, mode);
}

// One texture being placed into the stages of one state.
class Placement {
public:
    Placement(VMTextureProperty& tp, VMMaterialProperty* mp, VMTexture& texture, float amount, bool firstUse)
        : tp_(tp)
        , mp_(mp)
        , texture_(texture)
        , amount_(amount)
        , firstUse_(firstUse)
    {
    }

    VMTextureStage* Current() const { return current_; }
    bool IsEnvironment() const { return environment_; }

    VMTextureStage* Stage(int slot)
    {
        current_ = tp_.FillStage(slot, &texture_);
        environment_ = false;
        return current_;
    }
    void Base()
    {
        Stage(SLOT_BASE);
        if (firstUse_)
            texture_.MipMaps = 0;
    }
    void Environment()
    {
        if (VMTextureStage* stage = Stage(VMTextureProperty::ENVIRONMENT_SLOT)) {
            stage->SetFirstMode(2);
            stage->SetCoordinateSource(SOURCE_ENVIRONMENT);
        }
        environment_ = true;
    }
    void Bump()
    {
        Stage(SLOT_BUMP);
        texture_.SetIntProperty("HeightToNormal", static_cast<int32_t>(amount_ * 100.0f));
    }
    // colour moved towards white by the amount, through the setter that keeps its use flag.
    void Lerp(VMColor VMMaterialProperty::*colour, void (VMMaterialProperty::*setter)(const VMColor&))
    {
        if (!mp_)
            return;
        const VMColor c = mp_->*colour;
        (mp_->*setter)(
            {c.r + (1.0f - c.r) * amount_, c.g + (1.0f - c.g) * amount_, c.b + (1.0f - c.b) * amount_});
    }

    // Channel c of a material of kind ShaderB.
    void ShaderB(int channel)
    {
        switch (channel) {
        case 0:
            Base();
            break;
        case 1:
            Stage(1);
            break;
        case 2:
            Stage(2);
            break;
        case 3:
            Stage(SLOT_OPACITY);
            break;
        case 4:
            Bump();
            break;
        case 5:
            Stage(SLOT_SPECULAR);
            break;
        case 6:
            Stage(SLOT_SELF_ILLUMINATION);
            break;
        case 9:
            Stage(SLOT_OTHER);
            break;
        case 10:
            Environment();
            break;
        default:
            break;
        }
    }

    // Channel c of a material of kind ShaderA, then its blending rules.
    void ShaderA(int channel)
    {
        switch (channel) {
        case 0:
            ShaderAlpha();
            break;
        case 1:
            Base();
            if (current_)
                current_->secondModeWord = 0;
            break;
        case 2:
            Stage(1);
            break;
        case 3:
            Stage(2);
            break;
        case 4:
            Stage(SLOT_OPACITY);
            break;
        case 5:
            Stage(SLOT_SPECULAR);
            break;
        case 6:
            Stage(SLOT_SELF_ILLUMINATION);
            break;
        case 7:
            Bump();
            break;
        case 8:
            Environment();
            break;
        default:
            if (channel > 8)
                Stage(SLOT_OTHER);
            break;
        }
        if (current_)
            BlendShaderA();
    }

    // Channel c of a standard material (the host's standard map channels).
    void Standard(int channel)
    {
        switch (channel) {
        case 0:
            Lerp(&VMMaterialProperty::Ambient, &VMMaterialProperty::SetAmbient);
            Base();
            break;
        case 1:
            Lerp(&VMMaterialProperty::Diffuse, &VMMaterialProperty::SetDiffuse);
            Lerp(&VMMaterialProperty::Ambient, &VMMaterialProperty::SetAmbient);
            Base();
            break;
        case 2:
        case 3:
        case 4:
            Lerp(&VMMaterialProperty::Specular, &VMMaterialProperty::SetSpecular);
            Stage(SLOT_SPECULAR);
            break;
        case 5:
            Lerp(&VMMaterialProperty::Emissive, &VMMaterialProperty::SetEmissive);
            Stage(SLOT_SELF_ILLUMINATION);
            break;
        case 6:
            Opacity();
            break;
        case 8:
            Bump();
            break;
        case 9:
            Reflection();
            break;
        default:
            if (channel == 7 || channel >= 10)
                Other();
            break;
        }
    }

private:
    void ShaderAlpha()
    {
        VMTextureStage* stage = Stage(SLOT_SHADER_ALPHA);
        if (!stage)
            return;
        stage->firstModeWord = 0;
        stage->secondModeWord = 0x01000200u;
        if (amount_ < FULL_AMOUNT) {
            tp_.factor[3] = amount_;
            stage->secondModeWord = 0x06130200u;
        }
    }

    void BlendShaderA()
    {
        if (amount_ < FULL_AMOUNT) {
            const uint32_t mode = current_->FirstMode();
            if (mode == 1) {
                ReportWarning(std::string("Percentage ignored on texture ") + texture_.name.c_str());
            } else if (mode == 2) {
                tp_.factor[0] = tp_.factor[1] = tp_.factor[2] = amount_;
                uint32_t word = WithMode(current_->firstModeWord, 6);
                word = WithBits(word, 16, 3, 3);
                current_->firstModeWord = WithBits(word, 20, 1, 0);
            }
        }
        const VMTextureStage* alpha = tp_.Stage(SLOT_SHADER_ALPHA);
        if (alpha && alpha != current_ && alpha->texture.Get() == current_->texture.Get()) {
            current_->secondModeWord = alpha->secondModeWord;
            tp_.RemoveStage(SLOT_SHADER_ALPHA);
        }
    }

    // The opacity map: on the last stage that already holds the texture (one stage for an image
    // that is both colour and opacity), otherwise the opacity slot.
    void Opacity()
    {
        current_ = nullptr;
        for (int slot = 0; slot < tp_.SlotCount(); ++slot) {
            VMTextureStage* stage = tp_.Stage(slot);
            if (stage && stage->texture.Get() == &texture_)
                current_ = stage;
        }
        environment_ = current_ == tp_.Stage(VMTextureProperty::ENVIRONMENT_SLOT) && current_;
        if (!current_) {
            if (!Stage(SLOT_OPACITY))
                return;
            current_->firstModeWord = 0;
        }
        uint32_t word = WithMode(current_->secondModeWord, 0);
        word = WithBits(word, 0, 3, 2);
        if (amount_ < FULL_AMOUNT) {
            tp_.factor[3] = amount_;
            word = WithMode(word, 1);
            word = WithBits(word, 8, 3, 3);
        }
        current_->secondModeWord = word;
    }

    void Reflection()
    {
        Environment();
        if (!current_)
            return;
        const bool dimSpecular
            = mp_ && std::min({mp_->Specular.r, mp_->Specular.g, mp_->Specular.b}) < BRIGHT_SPECULAR;
        if (amount_ < FULL_AMOUNT || dimSpecular) {
            current_->SetFirstMode(6);
            if (mp_) {
                mp_->Specular = mp_->Specular * amount_;
                current_->firstModeWord = WithBits(WithBits(current_->firstModeWord, 16, 3, 4), 20, 1, 0);
            } else {
                tp_.factor[3] = amount_;
                current_->firstModeWord = WithBits(WithBits(current_->firstModeWord, 16, 3, 3), 20, 1, 1);
            }
        }
    }

    void Other()
    {
        if (!Stage(SLOT_OTHER))
            return;
        if (amount_ < FULL_AMOUNT) {
            tp_.factor[3] = amount_;
            current_->firstModeWord = WithBits(WithBits(current_->firstModeWord, 16, 3, 3), 20, 1, 1);
        }
    }

    VMTextureProperty& tp_;
    VMMaterialProperty* mp_;
    VMTexture& texture_;
    float amount_;
    bool firstUse_;
    VMTextureStage* current_ = nullptr;
    bool environment_ = false;
};

bool IsStandardKind(HostClassId kind)
{
    return kind == kClassStandardMaterial || kind == kClassStandardMaterial2 || kind == kStandardLikeMaterial;
}

// Bits 0-7 of the stage's coordinate word from the texture's UVW source.
void SetCoordinateSource(VMTextureStage& stage, const HostTexture& texture)
{
    switch (texture.GetUVWSource()) {
    case 0: {
        const int channel = texture.GetMapChannel();
        if (channel >= 1 && channel <= 256)
            stage.SetCoordinateSource(static_cast<uint32_t>(channel - 1));
        break;
    }
    case 1:
    case 3:
        stage.SetCoordinateSource(SOURCE_GENERATED);
        break;
    case 2:
        stage.SetCoordinateSource(SOURCE_VERTEX_COLOUR);
        break;
    default:
        break;
    }
}

void Handle(
    const HostTexture* texture, HostClassId kind, int channel, float amount, VMRenderState* state, int depth)
{
    if (!texture || !state || !(amount >= MIN_AMOUNT) || !std::isfinite(amount) || depth > MAX_DEPTH)
        return;
    VMRef<VMTexture> made = MakeTexture(texture);
    if (!made)
        return;
    bool firstUse = false;
    if (made->MipMaps == 0) {
        made->MipMaps = 1;
        firstUse = made->AlphaQuality != 1;
    }
    auto* mp = state->Find<VMMaterialProperty>();
    auto* tp = state->Find<VMTextureProperty>();
    if (!tp) {
        tp = state->AppendNew<VMTextureProperty>();
        std::fill(std::begin(tp->factor), std::end(tp->factor), amount);
    }

    Placement placement(*tp, mp, *made, amount, firstUse);
    if (kind == kBaseOnlyKind)
        placement.Base();
    else if (kind == kShaderB)
        placement.ShaderB(channel);
    else if (kind == kShaderA)
        placement.ShaderA(channel);
    else if (IsStandardKind(kind))
        placement.Standard(channel);
    else if (kind == kVemoMaterial)
        ReportError("vemoMtl is no longer supported");

    if (VMTextureStage* stage = placement.Current(); stage && !placement.IsEnvironment())
        SetCoordinateSource(*stage, *texture);

    for (int i = 0; i < texture->NumSubTexmaps(); ++i)
        Handle(texture->GetSubTexmap(i), texture->GetClassId(), i, amount, state, depth + 1);
}

} // namespace

void HandleTexture(
    const HostTexture* texture, HostClassId kind, int channel, float amount, VMRenderState* state)
{
    Handle(texture, kind, channel, amount, state, 0);
}

} // namespace vx
