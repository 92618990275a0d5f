#pragma once
// VMPathController: a position that moves along a path. It holds up to three named tracks
// ("Path": the path's points as a Bezier vector track, "Scaling", "Waypoints": the position along
// the path) and the follow parameters.

#include "toolkit/VMRef.h"
#include "toolkit/VMRefCounted.h"
#include "toolkit/VMTrack.h"

#include <string_view>

namespace vx {

class VMPathController : public VMRefCounted {
public:
    // Sets the track of name ("Path", "Scaling" or "Waypoints"); returns false, changing nothing,
    // for any other name.
    bool SetTrack(std::string_view name, VMRef<VMTrack> track);
    // The track of name; null when it was not set or the name is unknown.
    VMRef<VMTrack> GetTrack(std::string_view name) const;

    // The path parameters: "follow" turns the object along the path, "followflip" flips it,
    // "followaxis" is the axis that follows (0 x, 1 y, 2 z), "banking" tilts it in curves.
    bool follow = false;
    bool followflip = false;
    int followaxis = 0;
    bool banking = false;

private:
    VMRef<VMTrack> path_;
    VMRef<VMTrack> scaling_;
    VMRef<VMTrack> waypoints_;
};

} // namespace vx
