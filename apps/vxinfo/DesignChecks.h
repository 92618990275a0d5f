#pragma once
// The structural rules of a design database as the exporter writes it, checked one by one.

#include "vxinfo/DesignContent.h"
#include "vxinfo/ReadOnlyDatabase.h"

#include <string>
#include <vector>

namespace vxinfo {

// One broken rule: the rule's short name and a line naming the rows concerned.
struct Finding {
    std::string rule;
    std::string text;
};

// Checks db (whose rows content holds) against the rules, in this order:
//  integrity   SQLite's integrity check passes;
//  tables      the format's 31 tables exist and every table the inspector reads can be read;
//  seed        the report type and style rows, one CurrentVersion row with the format's schema and a
//              stamped (non-zero) identifier, and the 15 fixed dictionary entries as rows 1-15;
//  identifier  every record luid has a 16-byte Guids row, no luid belongs to two records, no
//              identifier is in Guids twice, fixed dictionary entries carry their name identifiers;
//  reference   geometry, owner, object, dictionary, root, stretch and file references name rows
//              that exist; textures named by identifier exist; animation files exist;
//  model       every model description parses, names buffer files that exist with the sizes its
//              counts and channels give, indices within the vertex count, whole triangles, and
//              subsets naming existing buffers and materials; no buffer file is left unnamed;
//  finite      boxes, placements, camera and vertex coordinates are finite; boxes not inverted;
//  reachable   one root record, every object reachable from it through instances, no object that
//              places itself.
// Returns the findings; empty when the database is sound.
std::vector<Finding> CheckDesign(const ReadOnlyDatabase& db, const DesignContent& content);

} // namespace vxinfo
