#include "database/GroupWriter.h"

#include "base/Assert.h"
#include "design/CompositeObject.h"

#include <cstring>
#include <string>

namespace vx {

int32_t GroupTypeCode(const char* type)
{
    struct TypeCode {
        const char* text;
        int32_t code;
    };
    static constexpr TypeCode CODES[] = {
        {"Configuration", 640},
        {"System", 641},
        {"Editgroup", 642},
        {"Linkgroup", 643},
    };
    for (const TypeCode& entry : CODES) {
        if (type && std::strcmp(type, entry.text) == 0)
            return entry.code;
    }
    return 0;
}

int64_t WriteGroup(SqlWriter& writer, ZR::Group& group)
{
    const ZR::CompositeObject* owner = group.data.Compo;
    if (!VX_ASSERT_TEXT(owner && owner->IsInDB(), "gr->data.Compo->IsInDB()"))
        return -1;
    if (group.IsInDB())
        return group.guid.dbid;

    const std::string idText = std::string(group.name.c_str()) + group.data.Type.c_str();
    const int64_t luid = writer.NewLuid(DUniqueID::FromName(idText.c_str()));
    if (luid < 0)
        return -1;
    const bool inserted = writer.BindAndRun(
        writer.GetStatement(WriterStatement::InsertDictionaryEntry), [&](Sqlite3::Statement& insert) {
            insert.Param(0).BindInt64(luid);
            insert.Param(1).BindText(group.name.c_str());
            insert.Param(2).BindInt(GroupTypeCode(group.data.Type.c_str()));
        });
    if (!inserted)
        return -1;
    group.guid.dbid = writer.LastInsertRowid();
    return group.guid.dbid;
}

} // namespace vx
