// Fuzz target: the inspector's check on arbitrary database bytes. Whatever the file holds, loading
// it and checking it must give findings, never a crash, a hang or undefined behaviour.

#include "vxinfo/DesignChecks.h"
#include "vxinfo/DesignLoading.h"
#include "vxinfo/ReadOnlyDatabase.h"

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// SQLite's lookaside allocator hands out memory from its own pool, where the sanitizer cannot see
// overruns; without it every allocation is a separate block. Must run before SQLite initialises.
bool DisableLookaside()
{
    return sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0) == SQLITE_OK;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool lookasideDisabled = DisableLookaside();
    (void)lookasideDisabled;
    // The image stays in memory: no file is written, so runs are fast and leave nothing behind.
    vxinfo::ReadOnlyDatabase db;
    if (db.OpenImage(std::string(reinterpret_cast<const char*>(data), size)).empty()) {
        const vxinfo::DesignContent content = vxinfo::LoadDesign(db, "fuzz-input.vx");
        vxinfo::CheckDesign(db, content);
    }
    return 0;
}
