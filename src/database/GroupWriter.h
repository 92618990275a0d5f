#pragma once
// Group entries of the property dictionary: a group is a dictionary entry whose type code gives
// the group kind; its members refer to it by Properties rows without a value.

#include "database/SqlWriter.h"

#include "design/Group.h"

#include <cstdint>

namespace vx {

// The dictionary type code of a group type text, compared case-sensitively: 640 "Configuration",
// 641 "System", 642 "Editgroup", 643 "Linkgroup", 0 for any other text (null included).
int32_t GroupTypeCode(const char* type);

// The PropertyDictionary luid of group, writing its entry on first use: a Guids row of FromName
// of the group name followed by the type text (both whole), then the dictionary row (luid, the
// name, GroupTypeCode of the type); group.guid.dbid becomes the row id. Group entries do not go
// through the dictionary map of property keys.
// The group's owner must be written: a null owner, or one that is not written, is reported
// ("gr->data.Compo->IsInDB()") and gives -1 with nothing written. A Guids row or dictionary row
// that cannot be written (reported) also gives -1 and leaves dbid -1, so a later call tries again.
// Callers skip the membership rows of a group whose luid is -1. After Close an unwritten group
// gives -1.
int64_t WriteGroup(SqlWriter& writer, ZR::Group& group);

} // namespace vx
