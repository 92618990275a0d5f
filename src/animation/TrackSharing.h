#pragma once
// The tracks made for one node so far, so that equal tracks are kept once.

#include "toolkit/VMRef.h"
#include "toolkit/VMTrack.h"

#include <vector>

namespace vx {

class TrackSharing {
public:
    // The track of the list equal to track (same class, equal keys), or track itself, which then
    // joins the list. Null stays null.
    VMRef<VMTrack> Share(VMRef<VMTrack> track);
    // The distinct tracks, in the order they joined.
    const std::vector<VMRef<VMTrack>>& Tracks() const { return tracks_; }

private:
    std::vector<VMRef<VMTrack>> tracks_;
};

} // namespace vx
