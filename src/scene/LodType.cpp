#include "scene/LodType.h"

#include "scene/NodeProperty.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace vx {

namespace {

std::string LowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

int32_t LodTypeOfWord(const std::string& word)
{
    const std::string lower = LowerCase(word);
    if (lower == "background")
        return 0;
    if (lower == "occluder")
        return 1;
    if (lower == "invalid")
        return -1;
    return 2;
}

int32_t LodTypeOfBox(const ZR::Aabb& box)
{
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

} // namespace

int32_t GetLodType(int32_t lodType, const NodeProperty* properties, const ZR::Aabb& box)
{
    if (lodType >= 0 && lodType <= 2)
        return lodType;
    std::string rest;
    if (properties && properties->HasKey("ZRLODType", rest))
        return LodTypeOfWord(rest);
    if (box.valid)
        return LodTypeOfBox(box);
    return 0;
}

} // namespace vx
