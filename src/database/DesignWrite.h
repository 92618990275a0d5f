#pragma once
// The design writers' view of the run: the database, the option values they follow, where their
// log lines, failed objects and progress go, and what they keep for the run so that each texture
// image, buffer file and rejected box is handled once. The run makes one for its writing step and
// passes it down; the writers reach nothing of the run any other way.

#include "database/SqlWriter.h"

#include "base/RunReport.h"
#include "base/TextureFileSearch.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace ZR {
struct CompositeObject;
}

namespace vx {

// The run's options as the writers read them; the values here are those of a run without a dialog.
struct DesignWriteOptions {
    // Single-object mode: buffer files named by content alone, and an instance marked as a part
    // gets a geometry of its own. Otherwise (per-object mode) files are numbered per pair and equal
    // objects are shared.
    bool singleObjectActive = true;
    // Equal objects (per-object mode) and parts (single-object mode) share their written data.
    bool shareEqualData = true;
    // A texture whose image is found nowhere keeps its recorded name; otherwise it is left out.
    bool keepMissingTextures = true;
    // Textures rows are named by the file name with its extension; otherwise by its title.
    bool textureNamesWithExtension = false;
    // Metres per host unit, for the source box attributes of model descriptions.
    float scaleFactor = 0.001f;
};

// The buffer files written in a run, keyed by (geometry row, file name).
class WrittenFiles {
public:
    // Adds (geometry, name); returns false when it was already present.
    bool Add(int64_t geometry, const std::string& name) { return keys_.emplace(geometry, name).second; }
    bool Contains(int64_t geometry, const std::string& name) const
    {
        return keys_.count({geometry, name}) != 0;
    }

private:
    std::set<std::pair<int64_t, std::string>> keys_;
};

// What the writers keep for one run.
struct DesignWriteTables {
    // Resolved texture image path -> the name the Textures writer returned for it, so that each
    // image file is read and stored once per run.
    std::unordered_map<std::string, std::string> textureNames;
    // Texture image name and recorded path (joined by a NUL) -> the file the search found for them,
    // or nothing. Models name the same few images many times; the files do not change during a run.
    std::unordered_map<std::string, std::optional<std::string>> textureFileSearches;
    // The Files rows written, so that a buffer file shared by pairs is stored once per geometry.
    WrittenFiles writtenFiles;
};

// The objects whose box was rejected and so named in the log: a box is computed several times in
// a run (when the object is made, for the boxes around it, before it is written), and the log
// names each rejected object once. The conversion shares this set with the writers.
using RejectedBoxes = std::unordered_set<const ZR::CompositeObject*>;

struct DesignWrite {
    SqlWriter& sql;
    const DesignWriteOptions& options;
    RunReport& report;
    DesignWriteTables& tables;
    RejectedBoxes& rejectedBoxes;
    // Where texture images are looked for.
    const TextureSearchPlaces& texturePlaces;
};

} // namespace vx
