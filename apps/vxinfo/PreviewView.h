#pragma once
// The sides from which vxinfo preview shows a design, and their names on the command line.

#include <optional>
#include <string>

namespace vxinfo {

enum class PreviewView {
    Iso, // from the front-left, looking down 35 degrees, z up
    Front, // along +y, z up
    Top, // down -z, y up on the picture
};

// The view called name ("iso", "front" or "top"); nothing for another name.
inline std::optional<PreviewView> PreviewViewNamed(const std::string& name)
{
    if (name == "iso")
        return PreviewView::Iso;
    if (name == "front")
        return PreviewView::Front;
    if (name == "top")
        return PreviewView::Top;
    return std::nullopt;
}

} // namespace vxinfo
