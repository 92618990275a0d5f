#include "vxinfo/ModelText.h"

#include "vxinfo/ModelMarkup.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vxinfo {

Vec3 MaterialDesc::BaseColour() const
{
    for (const char* wanted : {"Color", "Diffuse"})
        for (const NamedColour& c : colours)
            if (c.name == wanted)
                return c.rgb;
    return {0.8, 0.8, 0.8};
}

double MaterialDesc::Opacity() const
{
    for (const auto& [name, value] : floats)
        if (name == "Alpha")
            return value;
    return 1.0;
}

namespace {

bool ReadInteger(const std::string& text, int64_t& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0')
        return false;
    value = v;
    return true;
}

bool ReadReal(std::string text, double& value)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value);
}

// Reads integer attribute key of e into value; false (with error) when required and missing or
// not a number.
bool IntegerAttribute(const MarkupElement& e, const char* key, int64_t& value, std::string& error)
{
    const std::string* text = e.Attribute(key);
    if (!text) {
        error = e.name + " without " + key;
        return false;
    }
    if (!ReadInteger(*text, value)) {
        error = e.name + " " + key + "='" + *text + "' is not an integer";
        return false;
    }
    return true;
}

bool FileAttribute(const MarkupElement& e, std::string& file, std::string& error)
{
    const std::string* text = e.Attribute("file");
    if (!text || text->empty()) {
        error = e.name + " without file";
        return false;
    }
    file = *text;
    return true;
}

// Reads the optional real attributes x, y, z of e into v (0 when left out).
bool RealTriple(const MarkupElement& e, const char* const (&keys)[3], Vec3& v, std::string& error)
{
    for (std::size_t k = 0; k < 3; ++k) {
        const std::string* text = e.Attribute(keys[k]);
        if (text && !ReadReal(*text, v[k])) {
            error = e.name + " " + keys[k] + "='" + *text + "' is not a finite number";
            return false;
        }
    }
    return true;
}

bool ReadVertexBuffer(const MarkupElement& e, VertexBufferRef& vb, std::string& error)
{
    static const char* const POSITION[3] = {"posX", "posY", "posZ"};
    static const char* const ANGLES[3] = {"rotAz", "rotEl", "rotTw"};
    return IntegerAttribute(e, "count", vb.count, error) && IntegerAttribute(e, "items", vb.items, error)
        && FileAttribute(e, vb.file, error) && RealTriple(e, POSITION, vb.placement.position, error)
        && RealTriple(e, ANGLES, vb.placement.angles, error);
}

bool ReadColour(const MarkupElement& e, NamedColour& colour, std::string& error)
{
    const std::string* name = e.Attribute("name");
    if (!name) {
        error = "Color without name";
        return false;
    }
    colour.name = *name;
    const char* channels[] = {"R", "G", "B"};
    if (e.children.size() != 3) {
        error = "Color " + *name + " does not hold R, G and B";
        return false;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        if (e.children[k].name != channels[k] || !ReadReal(e.children[k].text, colour.rgb[k])) {
            error = "Color " + *name + " has a bad " + channels[k] + " component";
            return false;
        }
    }
    return true;
}

bool ReadMaterial(const MarkupElement& e, MaterialDesc& m, std::string& error)
{
    const std::string* effect = e.Attribute("effect");
    if (!effect || effect->empty()) {
        error = "Material without effect";
        return false;
    }
    m.effect = *effect;
    for (const MarkupElement& child : e.children) {
        if (child.name == "Color") {
            NamedColour colour;
            if (!ReadColour(child, colour, error))
                return false;
            m.colours.push_back(colour);
        } else if (child.name == "Float") {
            const std::string* name = child.Attribute("name");
            double value = 0;
            if (!name || !ReadReal(child.text, value)) {
                error = "Float without name or with a bad value in Material " + *effect;
                return false;
            }
            m.floats.emplace_back(*name, value);
        } else if (child.name == "Texture") {
            const std::string* name = child.Attribute("name");
            // The stage name is "Texture<slot>@Name".
            int64_t slot = 0;
            const std::string prefix = "Texture";
            const std::string suffix = "@Name";
            if (!name || name->size() <= prefix.size() + suffix.size() || name->rfind(prefix, 0) != 0
                || name->compare(name->size() - suffix.size(), suffix.size(), suffix) != 0
                || !ReadInteger(
                    name->substr(prefix.size(), name->size() - prefix.size() - suffix.size()), slot)
                || slot < 0 || slot > 15) {
                error = "Texture element with a bad stage name in Material " + *effect;
                return false;
            }
            if (child.text.empty()) {
                error = "Texture element without a texture name in Material " + *effect;
                return false;
            }
            m.textures.push_back({static_cast<int>(slot), child.text});
        } else {
            error = "unknown element <" + child.name + "> in Material " + *effect;
            return false;
        }
    }
    return true;
}

bool ReadSubset(const MarkupElement& e, SubsetDesc& s, std::string& error)
{
    if (!IntegerAttribute(e, "type", s.type, error)
        || !IntegerAttribute(e, "vertexbuffer", s.vertexBuffer, error)
        || !IntegerAttribute(e, "material", s.material, error))
        return false;
    if (e.Attribute("indexbuffer")) {
        int64_t ib = 0;
        if (!IntegerAttribute(e, "indexbuffer", ib, error))
            return false;
        s.indexBuffer = ib;
    }
    return true;
}

} // namespace

ModelTextResult ParseModelText(const std::string& text)
{
    ModelTextResult result;
    const MarkupResult markup = ParseMarkup(text);
    if (!markup.ok) {
        result.error = markup.error;
        return result;
    }
    if (markup.root.name != "model") {
        result.error = "the text is a <" + markup.root.name + "> element, not <model>";
        return result;
    }
    ModelDescription model;
    std::string& error = result.error;
    for (const MarkupElement& e : markup.root.children) {
        bool ok = true;
        if (e.name == "IndexBuffer") {
            IndexBufferRef ib;
            ok = IntegerAttribute(e, "count", ib.count, error) && FileAttribute(e, ib.file, error);
            model.indexBuffers.push_back(ib);
        } else if (e.name == "VertexBuffer") {
            VertexBufferRef vb;
            ok = ReadVertexBuffer(e, vb, error);
            model.vertexBuffers.push_back(vb);
        } else if (e.name == "Material") {
            MaterialDesc m;
            ok = ReadMaterial(e, m, error);
            model.materials.push_back(m);
        } else if (e.name == "Subset") {
            SubsetDesc s;
            ok = ReadSubset(e, s, error);
            model.subsets.push_back(s);
        } else {
            error = "unknown element <" + e.name + "> in <model>";
            ok = false;
        }
        if (!ok)
            return result;
    }
    result.model = std::move(model);
    return result;
}

} // namespace vxinfo
