// The property dictionary of the SqlWriter: one PropertyDictionary row per property key and run.

#include "database/PropertyKeyText.h"
#include "database/SqlWriter.h"

namespace vx {

namespace {

struct FixedEntry {
    const char* name;
    int32_t type;
};

// The entries every design database starts with, in this order.
constexpr FixedEntry FIXED_ENTRIES[] = {
    {"ElectricalConnection", 256},
    {"LibraryQueue", 256},
    {"ExcessCableBox", 256},
    {"Mantle", 256},
    {"Cutout", 256},
    {"Thumbnail", 259},
    {"View2D_Top", 259},
    {"View2D_Bottom", 259},
    {"View2D_Front", 259},
    {"View2D_Rear", 259},
    {"View2D_Left", 259},
    {"View2D_Right", 259},
    {"GenPOC", 512},
    {"Slope", 513},
    {"Ic_code", 1153},
};

} // namespace

int64_t SqlWriter::DictionaryLuid(const char* name, int32_t type)
{
    const std::string key = PropertyKeyText(name, type);
    const auto entry = dictionary_.Insert(key);
    if (*entry.value > 0 || !entry.isNew)
        return *entry.value;
    const int64_t luid = NewLuid(DUniqueID::FromName(key.c_str()));
    *entry.value = luid;
    // Without its Guids row the entry has no identifier; a NULL luid would make SQLite pick one.
    if (luid < 0)
        return luid;
    BindAndRun(GetStatement(WriterStatement::InsertDictionaryEntry), [&](Sqlite3::Statement& insert) {
        insert.Param(0).BindInt64(luid);
        insert.Param(1).BindText(name);
        insert.Param(2).BindInt(type);
    });
    return luid;
}

void SqlWriter::RegisterFixedEntries()
{
    for (const FixedEntry& entry : FIXED_ENTRIES)
        DictionaryLuid(entry.name, entry.type);
}

} // namespace vx
