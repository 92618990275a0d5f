#include "database/CategoryWriter.h"

#include "base/Assert.h"

#include <set>
#include <vector>

namespace vx {

namespace {

int64_t InsertCategoryRow(SqlWriter& writer, const ZR::Category& category)
{
    const bool inserted = writer.BindAndRun(
        writer.GetStatement(WriterStatement::InsertCategory), [&](Sqlite3::Statement& insert) {
            insert.Param(0).BindText(category.name.c_str());
            if (category.parent)
                insert.Param(1).BindInt64(category.parent->guid.dbid);
            else
                insert.Param(1).BindNull();
        });
    return inserted ? writer.LastInsertRowid() : -1;
}

} // namespace

int64_t WriteCategory(SqlWriter& writer, ZR::Category& category)
{
    // The unwritten categories from this one up to the first written one (or the top).
    std::vector<ZR::Category*> chain;
    std::set<const ZR::Category*> seen;
    for (ZR::Category* c = &category; c && !c->IsInDB(); c = c->parent) {
        if (!VX_ASSERT_TEXT(seen.insert(c).second, "category parent cycle"))
            return -1;
        chain.push_back(c);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const int64_t id = InsertCategoryRow(writer, **it);
        if (id < 0)
            return -1;
        (*it)->guid.dbid = id;
    }
    return category.guid.dbid;
}

} // namespace vx
