#include "animation/TrackSharing.h"

#include <utility>

namespace vx {

VMRef<VMTrack> TrackSharing::Share(VMRef<VMTrack> track)
{
    if (!track)
        return track;
    for (const VMRef<VMTrack>& known : tracks_)
        if (known->Equals(*track))
            return known;
    tracks_.push_back(track);
    return track;
}

} // namespace vx
