#include "assimpimport/AssimpUserProperties.h"

#include <sstream>

namespace vx {

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string OnOneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

// The entry's value as text; nullopt-like empty flag for kinds that have no text form.
bool FormatValue(const aiMetadataEntry& entry, std::string& text)
{
    std::ostringstream out;
    switch (entry.mType) {
    case AI_BOOL:
        out << (*static_cast<const bool*>(entry.mData) ? "true" : "false");
        break;
    case AI_INT32:
        out << *static_cast<const std::int32_t*>(entry.mData);
        break;
    case AI_UINT64:
        out << *static_cast<const std::uint64_t*>(entry.mData);
        break;
    case AI_FLOAT:
        out << *static_cast<const float*>(entry.mData);
        break;
    case AI_DOUBLE:
        out << *static_cast<const double*>(entry.mData);
        break;
    case AI_AISTRING:
        out << static_cast<const aiString*>(entry.mData)->C_Str();
        break;
    case AI_AIVECTOR3D: {
        const auto* v = static_cast<const aiVector3D*>(entry.mData);
        out << v->x << ", " << v->y << ", " << v->z;
        break;
    }
    default:
        return false;
    }
    text = out.str();
    return true;
}

std::string FindFbxText(const aiMetadata& metadata)
{
    aiString text;
    if (!metadata.Get("UDP3DSMAX", text) && !metadata.Get("UserProperties", text))
        return "";
    return ReplaceAll(ReplaceAll(text.C_Str(), "&cr;", "\r"), "&lf;", "\n");
}

} // namespace

std::string MakeUserPropertyText(const aiMetadata* metadata, AssimpFileKind kind)
{
    if (!metadata)
        return "";
    if (kind == AssimpFileKind::Fbx)
        return FindFbxText(*metadata);
    std::string text;
    for (unsigned i = 0; i < metadata->mNumProperties; ++i) {
        std::string value;
        if (!metadata->mValues[i].mData || !FormatValue(metadata->mValues[i], value))
            continue;
        const std::string key = OnOneLine(metadata->mKeys[i].C_Str());
        const bool ownKey = key.rfind("ZR", 0) == 0 || key.rfind("VNX", 0) == 0;
        if (!text.empty())
            text += '\n';
        text += key + (ownKey ? (value.empty() ? "" : " ") : " = ") + OnOneLine(value);
    }
    return text;
}

} // namespace vx
