#include "toolkit/VMPathController.h"

#include <utility>

namespace vx {

bool VMPathController::SetTrack(std::string_view name, VMRef<VMTrack> track)
{
    if (name == "Path")
        path_ = std::move(track);
    else if (name == "Scaling")
        scaling_ = std::move(track);
    else if (name == "Waypoints")
        waypoints_ = std::move(track);
    else
        return false;
    return true;
}

VMRef<VMTrack> VMPathController::GetTrack(std::string_view name) const
{
    if (name == "Path")
        return path_;
    if (name == "Scaling")
        return scaling_;
    if (name == "Waypoints")
        return waypoints_;
    return nullptr;
}

} // namespace vx
