#include "database/ModelDescription.h"

#include "base/Assert.h"
#include "base/Crc32.h"
#include "base/DebugOutput.h"
#include "base/Numeric.h"
#include "base/Placement.h"
#include "base/Transform.h"
#include "toolkit/VMAlphaProperty.h"
#include "toolkit/VMMaterialProperty.h"
#include "toolkit/VMTextureProperty.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vx {

namespace {

// printf into a text of any length: elements are never cut.
std::string Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Formatted(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    // Most elements fit the buffer and are formatted once; a longer one is formatted again at size.
    char buffer[256];
    const int length = std::vsnprintf(buffer, sizeof buffer, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0 && static_cast<std::size_t>(length) < sizeof buffer) {
        text.assign(buffer, static_cast<std::size_t>(length));
    } else if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

bool HasIndexList(const VMVertexData& vd)
{
    return vd.indexCount > 0 && vd.HasChannel(VMVertexData::INDEX_CHANNEL);
}

bool SameIndexList(const VMVertexData& a, const VMVertexData& b)
{
    return a.indexCount == b.indexCount
        && a.channels[VMVertexData::INDEX_CHANNEL] == b.channels[VMVertexData::INDEX_CHANNEL];
}

bool SameVertices(const VMVertexData& a, const VMVertexData& b)
{
    if (a.vertexCount != b.vertexCount)
        return false;
    for (int slot = 1; slot < VMVertexData::NUM_CHANNELS; ++slot)
        if (a.channels[slot] != b.channels[slot])
            return false;
    return true;
}

// The earlier pairs of a model by the name of one of their buffer files (the index file or the
// vertex file): for each name the first pair holding it and whether the pairs holding it differ in
// content. Pairs are added in list order once their name is final, so a lookup for pair i sees the
// pairs 0 .. i-1 as a scan of the list would.
class EarlierNames {
public:
    explicit EarlierNames(bool index)
        : index_(index)
    {
    }

    // Records pair of the model under its current file name; a pair without vertex data or name
    // is left out (it can never clash).
    void Add(const ZR::ModelPair& pair)
    {
        if (!pair.vd)
            return;
        const char* name = (index_ ? pair.indexFile : pair.vertexFile).c_str();
        if (!name || *name == '\0')
            return;
        const auto [entry, added] = names_.try_emplace(name, Entry {pair.vd.Get(), false});
        if (!added && !entry->second.mixed && !SameContent(*pair.vd, *entry->second.first))
            entry->second.mixed = true;
    }

    // Whether a recorded pair named name holds content other than mine. Equal content being an
    // equivalence, that is: the pairs of that name differ among themselves, or their one content
    // differs from mine.
    bool Clashes(const std::string& name, const VMVertexData& mine) const
    {
        const auto found = names_.find(name);
        if (found == names_.end())
            return false;
        return found->second.mixed || !SameContent(mine, *found->second.first);
    }

private:
    struct Entry {
        const VMVertexData* first;
        bool mixed;
    };

    bool SameContent(const VMVertexData& a, const VMVertexData& b) const
    {
        return index_ ? SameIndexList(a, b) : SameVertices(a, b);
    }

    bool index_;
    std::unordered_map<std::string, Entry> names_;
};

// name, made distinct when an earlier pair of the model (recorded in earlier) has a buffer of that
// name with other content (two contents with one CRC): "-1", "-2", ... goes before the extension.
std::string DistinctName(const EarlierNames& earlier, const VMVertexData& mine, const std::string& name)
{
    const std::size_t dot = std::min(name.rfind('.'), name.size());
    std::string candidate = name;
    for (int k = 1; earlier.Clashes(candidate, mine); ++k)
        candidate = name.substr(0, dot) + "-" + std::to_string(k) + name.substr(dot);
    return candidate;
}

// The earlier pairs of a model by index list: the first pair, in list order, whose index list
// equals a given one.
class EarlierIndexLists {
public:
    // The first recorded pair whose index list equals vd's, or -1.
    int64_t FindFirst(const ZR::Model& model, const VMVertexData& vd) const
    {
        const auto found = pairs_.find(HashOf(vd));
        if (found == pairs_.end())
            return -1;
        for (const uint32_t j : found->second)
            if (SameIndexList(vd, *model.pairs[j].vd))
                return j;
        return -1;
    }

    // Records pair j (which has vertex data); pairs are added in list order.
    void Add(uint32_t j, const VMVertexData& vd) { pairs_[HashOf(vd)].push_back(j); }

private:
    static std::size_t HashOf(const VMVertexData& vd)
    {
        const VMVertexData::ChannelBytes& indices = vd.channels[VMVertexData::INDEX_CHANNEL];
        const std::string_view bytes(reinterpret_cast<const char*>(indices.data()), indices.size());
        return std::hash<std::string_view> {}(bytes)
            ^ static_cast<std::size_t>(static_cast<uint32_t>(vd.indexCount));
    }

    std::unordered_map<std::size_t, std::vector<uint32_t>> pairs_;
};

bool IsNearZero(const Vector3& v)
{
    return _feqz(v.x) && _feqz(v.y) && _feqz(v.z);
}

// What building one description learns on the way: whether a number in it is not finite (such a
// text is not written), and how stage textures are named.
struct DescriptionBuild {
    const ModelDescriptionOptions& options;
    const TextureNamer& nameTexture;
    bool nonFiniteSeen = false;

    void CheckFinite(double value)
    {
        if (!std::isfinite(value))
            nonFiniteSeen = true;
    }
};

std::string Triple(DescriptionBuild& build, const char* x, const char* y, const char* z, const Vector3& v)
{
    build.CheckFinite(v.x);
    build.CheckFinite(v.y);
    build.CheckFinite(v.z);
    return Formatted(" %s='%g' %s='%g' %s='%g'", x, static_cast<double>(v.x), y, static_cast<double>(v.y), z,
        static_cast<double>(v.z));
}

// ---- Material blocks ----

enum class Effect { Specular, Diffuse, TransparentObjects, TexturedPhong, Textured, Envmap };

const char* OpeningText(Effect effect)
{
    switch (effect) {
    case Effect::Specular:
        return "<Material effect='Specular'>";
    case Effect::Diffuse:
        return "<Material effect='Diffuse'>";
    case Effect::TransparentObjects:
        return "<Material effect='TransparentObjects'>";
    case Effect::TexturedPhong:
        return "<Material effect='TexturedPhong'>";
    case Effect::Textured:
        return "<Material effect='Textured'>";
    case Effect::Envmap:
        break;
    }
    return "<Material effect='Envmap'>";
}

std::string ColourElement(DescriptionBuild& build, const char* name, const VMColor& c)
{
    build.CheckFinite(c.r);
    build.CheckFinite(c.g);
    build.CheckFinite(c.b);
    return Formatted("<Color name=\"%s\"><R>%f</R><G>%f</G><B>%f</B></Color>", name, static_cast<double>(c.r),
        static_cast<double>(c.g), static_cast<double>(c.b));
}

std::string FloatElement(DescriptionBuild& build, const char* name, double value)
{
    build.CheckFinite(value);
    return std::string("<Float name='") + name + "'>" + FormatFloat(value) + "</Float>";
}

// One Texture element per stage whose texture has a stored name (build.nameTexture); stages
// without one are left out.
std::string TextureElements(DescriptionBuild& build, const VMTextureProperty& tp)
{
    std::string text;
    for (int i = 0; i < tp.SlotCount(); ++i) {
        const VMTextureStage* stage = tp.Stage(i);
        if (!stage || !stage->texture)
            continue;
        const std::string name = build.nameTexture(*stage->texture);
        if (name.empty())
            continue;
        text += Formatted("<Texture name='Texture%ld@Name'>", static_cast<long>(i));
        text += EscapeModelText(name);
        text += "</Texture>";
    }
    return text;
}

bool StageHoldsTexture(const VMTextureProperty* tp, int slot)
{
    const VMTextureStage* stage = tp ? tp->Stage(slot) : nullptr;
    return stage && stage->texture;
}

Effect PlainEffect(const VMMaterialProperty* mp)
{
    return mp && mp->UseSpecular ? Effect::Specular : Effect::Diffuse;
}

Effect ChooseEffect(unsigned slots, const VMMaterialProperty* mp, const VMTextureProperty* tp)
{
    if (slots == 0)
        return PlainEffect(mp);
    if (slots == 1)
        return mp && mp->UseSpecular ? Effect::TexturedPhong : Effect::Textured;
    if (slots == 256 || slots == 257)
        return Effect::Envmap;
    if (StageHoldsTexture(tp, VMTextureProperty::ENVIRONMENT_SLOT))
        return Effect::Envmap;
    if (StageHoldsTexture(tp, 0) || StageHoldsTexture(tp, 1))
        return Effect::Textured;
    return PlainEffect(mp);
}

// The block of state's material, or empty when none is written. A state without material property
// (an unlit textured material) is written with the property's default colours.
std::string MaterialBlock(DescriptionBuild& build, const VMRenderState& state, const VMVertexData* vd)
{
    const VMMaterialProperty* mp = state.Find<VMMaterialProperty>();
    const VMAlphaProperty* ap = state.Find<VMAlphaProperty>();
    const VMTextureProperty* tp = state.Find<VMTextureProperty>();
    unsigned slots = 0;
    if (tp) {
        for (int i = 0; i <= 9; ++i)
            if (tp->Stage(i))
                slots |= 1u << i;
        if (!vd)
            return {};
    }
    const VMMaterialProperty defaults;
    const VMMaterialProperty& m = mp ? *mp : defaults;
    const Effect effect = ap || m.UseAlpha ? Effect::TransparentObjects : ChooseEffect(slots, mp, tp);
    std::string text = OpeningText(effect);
    switch (effect) {
    case Effect::Specular:
    case Effect::Diffuse:
    case Effect::TransparentObjects:
        text += ColourElement(build, "Color", m.Diffuse);
        if (effect == Effect::TransparentObjects)
            text += FloatElement(build, "Alpha", ap ? ap->alpha : m.Alpha);
        if (m.UseEmissive)
            text += ColourElement(build, "Emissive", m.Emissive);
        if (m.UseSpecular)
            text += ColourElement(build, "Specular", m.Specular);
        if (effect == Effect::TransparentObjects && tp)
            text += TextureElements(build, *tp);
        break;
    case Effect::TexturedPhong:
        if (m.UseAmbient)
            text += ColourElement(build, "Ambient", m.Ambient);
        if (m.UseDiffuse)
            text += ColourElement(build, "Diffuse", m.Diffuse);
        if (m.UseEmissive)
            text += ColourElement(build, "Emissive", m.Emissive);
        text += ColourElement(build, "Specular", m.Specular);
        text += FloatElement(build, "Power", m.Power);
        text += TextureElements(build, *tp);
        break;
    case Effect::Textured:
    case Effect::Envmap:
        // A specular material reaching this block is written without its specular colour.
        if (mp) {
            if (mp->UseAmbient)
                text += ColourElement(build, "Ambient", mp->Ambient);
            if (mp->UseDiffuse)
                text += ColourElement(build, "Diffuse", mp->Diffuse);
            if (mp->UseEmissive)
                text += ColourElement(build, "Emissive", mp->Emissive);
        }
        text += TextureElements(build, *tp);
        break;
    }
    return text + "</Material>";
}

// ---- Buffer elements ----

// The index buffer number (1-based) of each pair; 0 for a pair without vertex data or indices.
std::vector<int32_t> AppendIndexBuffers(ZR::Model& model, bool singleObjectActive, std::string& text)
{
    const uint32_t count = model.pairs.Count();
    std::vector<int32_t> numbers(count, 0);
    EarlierIndexLists lists;
    EarlierNames names(true);
    int32_t ib = 0;
    for (uint32_t i = 0; i < count; ++i) {
        ZR::ModelPair& p = model.pairs[i];
        if (!p.vd)
            continue;
        // Only an index list can be shared: pairs without one have nothing to look up. An earlier
        // pair may hold the very same vertex data (one mesh placed twice in a merged object): its
        // index buffer serves this pair as well.
        const int64_t first = HasIndexList(*p.vd) ? lists.FindFirst(model, *p.vd) : -1;
        if (first >= 0) {
            const auto j = static_cast<uint32_t>(first);
            ZR::ModelPair& q = model.pairs[j];
            numbers[i] = numbers[j];
            // The earlier pair's buffer serves this pair too; the shared vertex data keeps its list.
            if (numbers[i] != 0)
                p.indexFile = q.indexFile;
        }
        if (numbers[i] == 0 && HasIndexList(*p.vd)) {
            numbers[i] = ++ib;
            if (p.indexFile.IsEmpty())
                p.indexFile.Assign(
                    DistinctName(names, *p.vd, IndexFileName(*p.vd, ib, singleObjectActive)).c_str());
            text += Formatted("<IndexBuffer count='%i' file='", p.vd->indexCount);
            text += EscapeModelText(p.indexFile.c_str()) + "'/>";
        }
        p.vd->Tag = numbers[i];
        lists.Add(i, *p.vd);
        names.Add(p);
    }
    return numbers;
}

// The VertexBuffer element of pair n (which has vertex data); names its vertex file when it has
// none, distinct from the names of the earlier pairs recorded in earlier.
std::string VertexBufferElement(
    DescriptionBuild& build, ZR::Model& model, uint32_t n, const EarlierNames& earlier)
{
    const ModelDescriptionOptions& options = build.options;
    ZR::ModelPair& p = model.pairs[n];
    if (p.vertexFile.IsEmpty())
        p.vertexFile.Assign(DistinctName(
            earlier, *p.vd, VertexFileName(*p.vd, static_cast<long>(n), options.singleObjectActive))
                                .c_str());
    Vector3 pos;
    Vector3 rot;
    if (!p.transform.IsIdentity()) {
        const AnglePlacement placement
            = TransformToPlacement(p.transform.rows, p.transform.position).placement;
        pos = {placement.x, placement.y, placement.z};
        rot = {placement.azimuth, placement.elevation, placement.twist};
    }
    std::string text = Formatted("<VertexBuffer count='%i' items='%i' file='", p.vd->vertexCount,
        static_cast<int>(p.vd->VertexFormatCode()));
    text += EscapeModelText(p.vertexFile.c_str()) + "'";
    if (!IsNearZero(pos))
        text += Triple(build, "posX", "posY", "posZ", pos);
    if (!IsNearZero(rot))
        text += Triple(build, "rotAz", "rotEl", "rotTw", rot);
    if (!p.sourceBox.IsEmpty()) {
        const ZR::SourceBox& box = p.sourceBox;
        const float s = options.scaleFactor;
        const Vector3 c = (box.min + box.max) * 0.5f;
        const Vector3 t = ApplyTransform(p.transform.ToTransform(), Vector3 {c.x, c.z, c.y} * s);
        const Vector3 orgPos {t.x, t.z, t.y};
        const Vector3 size = (box.max - box.min) * s;
        if (!IsNearZero(orgPos))
            text += Triple(build, "orgPosX", "orgPosY", "orgPosZ", orgPos);
        if (!IsNearZero(rot))
            text += Triple(build, "orgRotAz", "orgRotEl", "orgRotTw", rot);
        if (!IsNearZero(size))
            text += Triple(build, "dimX", "dimY", "dimZ", size);
    }
    return text + "/>";
}

} // namespace

std::string FormatFloat(double value)
{
    std::string text = Formatted("%#f", value);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

std::string EscapeModelText(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string VertexFileName(const VMVertexData& vd, long n, bool singleObjectActive)
{
    Crc32Accumulator crc;
    for (int slot = 1; slot < VMVertexData::NUM_CHANNELS; ++slot)
        crc.Update(vd.channels[slot].data(), vd.channels[slot].size());
    const unsigned value = crc.Finish();
    if (singleObjectActive)
        return Formatted("0x%08X.vtx", value);
    return Formatted("%ld%08X.vtx", n, value);
}

std::string IndexFileName(const VMVertexData& vd, long n, bool singleObjectActive)
{
    const VMVertexData::ChannelBytes& indices = vd.channels[VMVertexData::INDEX_CHANNEL];
    const unsigned value = Crc32(indices.data(), indices.size());
    if (singleObjectActive)
        return Formatted("0x%08X.idx", value);
    return Formatted("0x%08X_%ld.idx", value, n);
}

std::string BuildModelDescription(
    ZR::Model& model, const ModelDescriptionOptions& options, const TextureNamer& nameTexture)
{
    DescriptionBuild build {options, nameTexture};
    const uint32_t count = model.pairs.Count();
    if (count == 0)
        return {};
    for (ZR::ModelPair& p : model.pairs)
        if (p.vd) {
            p.vd->Tag = 0;
            if (p.rs)
                p.rs->Tag = 0;
        }
    std::string text = "<model>";
    const std::vector<int32_t> indexBuffers = AppendIndexBuffers(model, options.singleObjectActive, text);
    EarlierNames vertexNames(false);
    for (uint32_t i = 0; i < count; ++i)
        if (model.pairs[i].vd) {
            text += VertexBufferElement(build, model, i, vertexNames);
            vertexNames.Add(model.pairs[i]);
        }
    // Materials, numbered locally: a render state shared by several pairs is written once.
    std::map<const VMRenderState*, int32_t> materials;
    int32_t m = 0;
    for (ZR::ModelPair& p : model.pairs) {
        if (!p.vd || !VX_ASSERT_TEXT(p.rs, "p.rs") || materials.count(p.rs.Get()) != 0)
            continue;
        const std::string block = MaterialBlock(build, *p.rs, p.vd.Get());
        materials[p.rs.Get()] = block.empty() ? 0 : ++m;
        p.rs->Tag = materials[p.rs.Get()];
        text += block;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const ZR::ModelPair& p = model.pairs[i];
        if (!p.vd)
            continue;
        const int32_t material = p.rs ? materials[p.rs.Get()] : 0;
        if (indexBuffers[i] != 0)
            text += Formatted("<Subset type='%i' indexbuffer='%i' vertexbuffer='%i' material='%i' />",
                p.vd->primitiveType, indexBuffers[i] - 1, static_cast<int>(i), material - 1);
        else
            text += Formatted("<Subset type='%i' vertexbuffer='%i' material='%i' />", p.vd->primitiveType,
                static_cast<int>(i), material - 1);
    }
    if (build.nonFiniteSeen) {
        // Nothing non-finite reaches the database: the model is left without description.
        WriteDebugOutput("Model description not written: a placement, size or colour is not finite\r\n");
        return {};
    }
    return text + "</model>";
}

std::string NameTextureAsRecorded(VMTexture& texture)
{
    return texture.name.c_str();
}

} // namespace vx
