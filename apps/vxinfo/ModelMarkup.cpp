#include "vxinfo/ModelMarkup.h"

#include <cctype>

namespace vxinfo {

const std::string* MarkupElement::Attribute(const std::string& key) const
{
    for (const auto& [name, value] : attributes)
        if (name == key)
            return &value;
    return nullptr;
}

namespace {

class Parser {
public:
    explicit Parser(const std::string& text)
        : s_(text)
    {
    }

    MarkupResult Run()
    {
        MarkupResult result;
        SkipSpace();
        if (!ParseElement(result.root, 0)) {
            result.error = error_;
            return result;
        }
        SkipSpace();
        if (i_ != s_.size()) {
            result.error = Where("text after the closing </" + result.root.name + ">");
            return result;
        }
        result.ok = true;
        return result;
    }

private:
    std::string Where(const std::string& what) const { return what + " at offset " + std::to_string(i_); }

    bool Fail(const std::string& what)
    {
        if (error_.empty())
            error_ = Where(what);
        return false;
    }

    void SkipSpace()
    {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])))
            ++i_;
    }

    static bool IsNameChar(char c)
    {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == ':';
    }

    std::string ReadName()
    {
        const std::size_t start = i_;
        while (i_ < s_.size() && IsNameChar(s_[i_]))
            ++i_;
        return s_.substr(start, i_ - start);
    }

    // Resolves the entities of raw into out; false on an unknown or unterminated one.
    bool Unescape(const std::string& raw, std::string& out)
    {
        static const std::pair<const char*, char> ENTITIES[]
            = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}};
        for (std::size_t k = 0; k < raw.size();) {
            if (raw[k] != '&') {
                out += raw[k++];
                continue;
            }
            bool known = false;
            for (const auto& [entity, c] : ENTITIES) {
                const std::string e(entity);
                if (raw.compare(k, e.size(), e) == 0) {
                    out += c;
                    k += e.size();
                    known = true;
                    break;
                }
            }
            if (!known)
                return Fail("unknown entity '" + raw.substr(k, 8) + "'");
        }
        return true;
    }

    bool ParseElement(MarkupElement& element, int depth)
    {
        if (depth > 64)
            return Fail("elements nested too deeply");
        if (i_ >= s_.size() || s_[i_] != '<')
            return Fail("expected '<'");
        ++i_;
        element.name = ReadName();
        if (element.name.empty())
            return Fail("element without a name");
        for (;;) {
            SkipSpace();
            if (i_ >= s_.size())
                return Fail("unterminated <" + element.name + ">");
            if (s_.compare(i_, 2, "/>") == 0) {
                i_ += 2;
                return true;
            }
            if (s_[i_] == '>') {
                ++i_;
                break;
            }
            std::string key = ReadName();
            if (key.empty())
                return Fail("malformed attribute in <" + element.name + ">");
            SkipSpace();
            if (i_ >= s_.size() || s_[i_] != '=')
                return Fail("attribute " + key + " without '='");
            ++i_;
            SkipSpace();
            if (i_ >= s_.size() || (s_[i_] != '\'' && s_[i_] != '"'))
                return Fail("attribute " + key + " without a quoted value");
            const char quote = s_[i_++];
            const std::size_t end = s_.find(quote, i_);
            if (end == std::string::npos)
                return Fail("unterminated value of attribute " + key);
            std::string value;
            if (!Unescape(s_.substr(i_, end - i_), value))
                return false;
            i_ = end + 1;
            if (element.Attribute(key))
                return Fail("attribute " + key + " given twice");
            element.attributes.emplace_back(std::move(key), std::move(value));
        }
        // Content: text and child elements up to the matching closing tag.
        for (;;) {
            const std::size_t lt = s_.find('<', i_);
            if (lt == std::string::npos)
                return Fail("missing </" + element.name + ">");
            if (!Unescape(s_.substr(i_, lt - i_), element.text))
                return false;
            i_ = lt;
            if (s_.compare(i_, 2, "</") == 0) {
                i_ += 2;
                const std::string name = ReadName();
                SkipSpace();
                if (name != element.name || i_ >= s_.size() || s_[i_] != '>')
                    return Fail("expected </" + element.name + ">");
                ++i_;
                return true;
            }
            element.children.emplace_back();
            if (!ParseElement(element.children.back(), depth + 1))
                return false;
        }
    }

    const std::string& s_;
    std::size_t i_ = 0;
    std::string error_;
};

} // namespace

MarkupResult ParseMarkup(const std::string& text)
{
    return Parser(text).Run();
}

} // namespace vxinfo
