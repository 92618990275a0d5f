#pragma once
// The example house exported once per test program in both modes, for the inspector's tests, and
// a way to open a database the way vxinfo does.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"

#include "support/TempDir.h"
#include "vxinfo/DesignContent.h"
#include "vxinfo/DesignLoading.h"
#include "vxinfo/ReadOnlyDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vxtest {

// The two house databases, written on first use into a folder that lives as long as the program.
struct HouseDatabases {
    std::string single; // exported with --yes (single object)
    std::string perObject; // exported with --per-object
    bool ok = false;
};

inline const HouseDatabases& ExportedHouse()
{
    static TempDir dir;
    static const HouseDatabases house = [] {
        const char* source = std::getenv("VX_SOURCE_DIR");
        const std::string scene
            = (std::filesystem::path(source ? source : ".") / "examples" / "house" / "house.json").string();
        HouseDatabases h {dir.File("house.vx"), dir.File("house-po.vx"), false};
        h.ok = RunVxexport({"--yes", scene, h.single}).exitCode == 0
            && RunVxexport({"--per-object", scene, h.perObject}).exitCode == 0;
        return h;
    }();
    return house;
}

// A database opened read-only with its rows loaded.
struct OpenedDesign {
    vxinfo::ReadOnlyDatabase db;
    vxinfo::DesignContent content;
    std::string openFailure;

    explicit OpenedDesign(const std::string& path)
    {
        openFailure = db.Open(path);
        if (openFailure.empty())
            content = vxinfo::LoadDesign(db, path);
    }
};

} // namespace vxtest
