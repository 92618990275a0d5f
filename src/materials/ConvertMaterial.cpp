#include "materials/ConvertMaterial.h"

#include "materials/MaterialTable.h"
#include "materials/MaterialValues.h"
#include "materials/SanitizeName.h"
#include "materials/TextureHandler.h"

#include "host/HostMaterial.h"
#include "host/HostShader.h"
#include "host/HostStandardMaterial.h"
#include "run/ExportRunState.h"
#include "toolkit/VMAlphaProperty.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMRenderFlagsProperty.h"
#include "toolkit/VMTextureProperty.h"
#include "toolkit/VMWireFrameProperty.h"

#include <cmath>

namespace vx {

namespace {

constexpr int MAX_NESTING = 32;
constexpr float SPECULAR_THRESHOLD = 0.1f;
constexpr float UNLIT_EMISSIVE = 0.95f;
constexpr int LIGHTING_UNLIT = 0;
constexpr int LIGHTING_DEFAULT = 2;

// What one conversion builds besides the state: the properties made on demand and the values
// later steps read.
struct Conversion {
    explicit Conversion(VMRenderState& made)
        : state(made)
    {
    }

    VMRenderState& state;
    VMMaterialProperty* mp = nullptr;
    float selfIllumination = 0.0f;
    int lightingMode = LIGHTING_DEFAULT;
    HostClassId kind;

    VMAlphaProperty* Alpha()
    {
        if (auto* ap = state.Find<VMAlphaProperty>())
            return ap;
        return state.AppendNew<VMAlphaProperty>();
    }
    void SetFlag(int n)
    {
        auto* flags = state.Find<VMRenderFlagsProperty>();
        if (!flags)
            flags = state.AppendNew<VMRenderFlagsProperty>();
        flags->SetFlag(n);
    }
};

bool IsStandardClass(HostClassId id)
{
    return id == kClassStandardMaterial || id == kClassStandardMaterial2;
}

float ShininessPower(float shininess)
{
    return std::exp2(10.0f * shininess) * 4.0f;
}

float OpacityCutoff()
{
    const ExportRunState* run = CurrentExporter();
    return run ? run->opacityCutoff : RunOptions {}.opacityCutoff;
}

// The sub-material a container material stands for (container set), or the material itself when
// it is a leaf. The chosen slot may be empty (null).
const HostMaterial* ChooseSubMaterial(const HostMaterial& m, int subMaterial, bool& container)
{
    const HostClassId id = m.GetClassId();
    container = true;
    if (id == kClassShellMaterial)
        return m.GetSubMtl(1);
    if (id == kClassDoubleSidedMaterial)
        return m.GetSubMtl(0);
    if (id == kClassMultiMaterial)
        return m.GetSubMtl(subMaterial);
    if (m.NumSubMtls() >= 1)
        return m.GetSubMtl(0);
    container = false;
    return &m;
}

void ApplyBlendMode(Conversion& c, int mode, bool shaderA, int sourceNumber, int destinationNumber)
{
    switch (mode) {
    case 1:
        c.mp->UseAlpha = false;
        if (auto* ap = c.state.Find<VMAlphaProperty>())
            c.state.RemoveProperty(ap);
        break;
    case 2:
        c.mp->UseAlpha = true;
        c.Alpha()->SetAlphaBlending();
        break;
    case 3:
        c.Alpha()->SetAdditive();
        break;
    case 4:
        c.Alpha()->SetMultiplicative();
        break;
    case 5:
        c.Alpha()->SetFactors(BlendFactorCode(sourceNumber), BlendFactorCode(destinationNumber));
        break;
    case 6:
        if (shaderA)
            ApplyBlendMode(c, 1, shaderA, sourceNumber, destinationNumber);
        break;
    default:
        break;
    }
}

// The parameter identifiers of one special shader.
struct ShaderParams {
    int specularOn;
    int blendMode;
    int flag5;
    int flag3; // -1: none
    int flag4; // -1: none
    int lightingMode;
    int sourceFactor;
    int destinationFactor;
};

constexpr ShaderParams kShaderAParams {9, 15, 10, 11, 12, 8, 6, 7};
constexpr ShaderParams kShaderBParams {15, 118, 16, -1, -1, 11, 7, 8};
constexpr int PARAM_EMISSIVE = 3;
constexpr int PARAM_POWER = 4;
constexpr int PARAM_ALPHA = 5;

void ApplyShader(Conversion& c, const HostShader& shader, bool shaderA)
{
    const ShaderParams& p = shaderA ? kShaderAParams : kShaderBParams;
    VMMaterialProperty& mp = *c.mp;
    if (auto colour = CleanColour(shader.GetAmbient()))
        mp.SetAmbient(*colour);
    if (auto colour = CleanColour(shader.GetDiffuse()))
        mp.SetDiffuse(*colour);
    if (auto colour = CleanColour(shader.GetSpecular()))
        mp.SetSpecular(*colour);
    if (shader.GetParamInt(p.specularOn) == 0)
        mp.UseSpecular = false;
    if (auto colour = CleanColour(shader.GetParamColor(PARAM_EMISSIVE)))
        mp.SetEmissive(*colour);
    mp.Power = FiniteOr(shader.GetParamFloat(PARAM_POWER), mp.Power);
    mp.SetAlpha(FiniteOr(shader.GetParamFloat(PARAM_ALPHA), 1.0f));
    ApplyBlendMode(c, shader.GetParamInt(p.blendMode), shaderA, shader.GetParamInt(p.sourceFactor),
        shader.GetParamInt(p.destinationFactor));
    if (shader.GetParamInt(p.flag5) != 0)
        c.SetFlag(5);
    if (p.flag3 >= 0 && shader.GetParamInt(p.flag3) != 0)
        c.SetFlag(3);
    if (p.flag4 >= 0 && shader.GetParamInt(p.flag4) != 0)
        c.SetFlag(4);
    c.lightingMode = shader.GetParamInt(p.lightingMode);
    c.kind = shader.GetClassId();
}

void ConvertStandard(Conversion& c, const HostStandardMaterial& m, HostTime t)
{
    static_cast<void>(t);
    VMMaterialProperty& mp = *c.mp;
    if (auto colour = CleanColour(m.GetAmbient()))
        mp.SetAmbient(*colour);
    if (auto colour = CleanColour(m.GetDiffuse()))
        mp.SetDiffuse(*colour);

    const VMColor specular = CleanColour(m.GetSpecular()).value_or(mp.Specular);
    mp.SetSpecular(specular * FiniteOr(m.GetShinStr(), 0.0f));
    const float shininess = FiniteOr(m.GetShininess(), 0.0f);
    if (shininess < 0.2f || AllComponentsBelow(mp.Specular, SPECULAR_THRESHOLD)) {
        mp.UseSpecular = false;
        mp.Specular = specular;
        mp.Power = 0.0f;
    } else {
        mp.Power = ShininessPower(shininess);
    }

    const float opacity = FiniteOr(m.GetOpacity(), 1.0f);
    mp.SetAlpha(opacity < OpacityCutoff() ? opacity : 1.0f);

    if (m.GetSelfIllumColorOn()) {
        if (auto colour = CleanColour(m.GetSelfIllumColor()))
            mp.SetEmissive(*colour);
    } else {
        c.selfIllumination = FiniteOr(m.GetSelfIllum(), 0.0f);
    }

    if (m.GetTwoSided())
        c.SetFlag(VMRenderFlagsProperty::FLAG_TWO_SIDED);
    if (m.GetShading() == 0 || m.IsFaceted())
        c.SetFlag(VMRenderFlagsProperty::FLAG_FLAT);

    if (m.GetWire()) {
        c.SetFlag(VMRenderFlagsProperty::FLAG_WIRE);
        auto* wire = c.state.AppendNew<VMWireFrameProperty>();
        const VMColor colour = mp.UseEmissive ? mp.Emissive : mp.Diffuse;
        wire->red = colour.r;
        wire->green = colour.g;
        wire->blue = colour.b;
        wire->alpha = mp.Alpha;
        wire->width = FiniteOr(m.GetWireSize(), 1.0f);
    }

    if (mp.UseAlpha) {
        const int type = m.GetTransparencyType();
        if (type == 0)
            c.Alpha()->SetMultiplicative();
        else if (type == 1)
            c.Alpha()->SetAdditive();
    }

    if (const HostShader* shader = m.GetShader()) {
        const HostClassId id = shader->GetClassId();
        if (id == kShaderA || id == kShaderB)
            ApplyShader(c, *shader, id == kShaderA);
    }

    if (auto* ap = c.state.Find<VMAlphaProperty>()) {
        ap->alpha = mp.Alpha;
        mp.Alpha = 1.0f;
        mp.UseAlpha = false;
    }
}

void ConvertGeneric(Conversion& c, const HostMaterial& m)
{
    VMMaterialProperty& mp = *c.mp;
    if (auto colour = CleanColour(m.GetAmbient()))
        mp.SetAmbient(*colour);
    if (auto colour = CleanColour(m.GetDiffuse()))
        mp.SetDiffuse(*colour);
    const VMColor specular = CleanColour(m.GetSpecular()).value_or(mp.Specular);
    mp.SetSpecular(specular * FiniteOr(m.GetShinStr(), 0.0f));
    mp.Power = ShininessPower(FiniteOr(m.GetShininess(), 0.0f));
    mp.SetAlpha(1.0f - FiniteOr(m.GetXParency(), 0.0f));
}

void HandleTextures(Conversion& c, const HostMaterial& m)
{
    const HostStandardMaterial* standard
        = m.GetClassId() == kClassStandardMaterial ? m.AsStandardMaterial() : nullptr;
    for (int i = 0; i < m.NumSubTexmaps(); ++i) {
        const HostTexture* texture = m.GetSubTexmap(i);
        if (!texture)
            continue;
        float amount = 1.0f;
        if (standard) {
            if (!standard->GetMapEnabled(i))
                continue;
            // A non-finite amount stays as it is: the handler counts it as below its threshold.
            amount = standard->GetTexmapAmount(i);
        }
        HandleTexture(texture, c.kind, i, amount, &c.state);
    }
}

void ApplyLightingMode(Conversion& c)
{
    auto* tp = c.state.Find<VMTextureProperty>();
    if (!tp)
        return;
    switch (c.lightingMode) {
    case LIGHTING_UNLIT:
        if (c.mp) {
            if (c.mp->UseAlpha && !c.state.Find<VMAlphaProperty>()) {
                auto* ap = c.state.AppendNew<VMAlphaProperty>();
                ap->SetAlphaBlending();
                ap->alpha = c.mp->Alpha;
            }
            c.state.RemoveProperty(c.mp);
            c.mp = nullptr;
        }
        break;
    case 1:
    case 3:
    case 4:
        if (VMTextureStage* stage = tp->Stage(0))
            stage->SetFirstMode(c.lightingMode == 1 ? 7u : (c.lightingMode == 3 ? 2u : 3u));
        break;
    default:
        break;
    }
}

VMRef<VMRenderState> ConvertLeaf(const HostMaterial& m, HostTime t)
{
    VMRef<VMRenderState> state = MakeVMRef<VMRenderState>();
    Conversion c(*state);
    c.mp = state->AppendNew<VMMaterialProperty>();
    c.kind = m.GetClassId();

    const HostStandardMaterial* standard = IsStandardClass(m.GetClassId()) ? m.AsStandardMaterial() : nullptr;
    if (standard)
        ConvertStandard(c, *standard, t);
    else
        ConvertGeneric(c, m);

    if (AllComponentsBelow(c.mp->Specular, SPECULAR_THRESHOLD))
        c.mp->UseSpecular = false;
    HandleTextures(c, m);
    if (c.selfIllumination > 0.0f) {
        c.mp->SetEmissive(c.mp->Diffuse * c.selfIllumination);
        c.mp->UseEmissive = true;
    }
    if (!c.mp->UseSpecular && c.mp->UseEmissive && c.mp->Emissive.r > UNLIT_EMISSIVE
        && c.mp->Emissive.g > UNLIT_EMISSIVE && c.mp->Emissive.b > UNLIT_EMISSIVE)
        c.lightingMode = LIGHTING_UNLIT;
    ApplyLightingMode(c);

    if (state->IsEmpty())
        return RegisterState(&m, nullptr);
    state->name = SanitizeName(m.GetName()).c_str();
    return RegisterState(&m, state.Get());
}

VMRef<VMRenderState> ConvertNested(const HostMaterial* material, HostTime t, int subMaterial, int depth)
{
    if (!material || depth > MAX_NESTING)
        return {};
    if (VMRenderState* known = CurrentMaterialTable().byMaterial.Find(material))
        return VMRef<VMRenderState>(known);
    bool container = false;
    const HostMaterial* chosen = ChooseSubMaterial(*material, subMaterial, container);
    if (container)
        return ConvertNested(chosen, t, subMaterial, depth + 1);
    return ConvertLeaf(*material, t);
}

} // namespace

VMRef<VMRenderState> ConvertMaterial(const HostMaterial* material, HostTime t, int subMaterial)
{
    return ConvertNested(material, t, subMaterial, 0);
}

int32_t BlendFactorCode(int number)
{
    switch (number) {
    case 1:
        return kBlendZero;
    case 2:
        return kBlendSrcColor;
    case 3:
        return kBlendOneMinusSrcColor;
    case 4:
        return kBlendDstColor;
    case 5:
        return kBlendOneMinusDstColor;
    case 6:
        return kBlendSrcAlpha;
    case 7:
        return kBlendOneMinusSrcAlpha;
    case 8:
        return kBlendDstAlpha;
    case 9:
        return kBlendOneMinusDstAlpha;
    case 10:
        return kBlendSrcAlphaSaturate;
    default:
        return kBlendOne;
    }
}

} // namespace vx
