#include "database/DesignDatabase.h"

#include <memory>

namespace vx {

namespace {
std::unique_ptr<SqlWriter>& CurrentWriterSlot()
{
    static std::unique_ptr<SqlWriter> writer;
    return writer;
}
} // namespace

void OpenDesignDatabase(const std::string& path)
{
    std::unique_ptr<SqlWriter>& slot = CurrentWriterSlot();
    slot.reset();
    slot = std::make_unique<SqlWriter>(path);
    slot->RegisterFixedEntries();
}

DatabaseCloseResult CloseDesignDatabase()
{
    std::unique_ptr<SqlWriter>& slot = CurrentWriterSlot();
    if (!slot)
        return {};
    const DatabaseCloseResult result = slot->Close();
    slot.reset();
    return result;
}

SqlWriter* CurrentSqlWriter()
{
    return CurrentWriterSlot().get();
}

} // namespace vx
