#pragma once
// Object instances: the placements of composite objects inside others, written depth first after
// the objects they place, and the instances that hang the design into the database root record.

#include "database/DesignWrite.h"

#include "base/Array.h"
#include "design/CompositeObject.h"

#include <cstdint>
#include <memory>

namespace vx {

// Writes oi into the object of ownerLuid, once: nothing happens when ownerLuid is negative or oi is
// written already. The box of a target that is not written yet is computed first (a rejected box
// names the object in the log). The target (oi.object) is written first when it is not yet: when the
// run shares equal data,
// in per-object mode an equal object written or met before takes its place (oi then refers to it),
// while in single-object mode an instance marked as a part gets a geometry of its own
// (WriteCompositeObject with unique). Then the ObjectInstances row (luid of oi's identifier; the
// name, NULL when empty; the owner; the target; chain; length, height, width by the length and size
// flags; flags; position and angles as BindPlacement stores them), the instance's properties, its
// part key (unique only) and one Properties row without value per group.
// The instance is recorded as failed (the run's failure list, and the debugger output) and nothing is written
// for it when the target is null, is being written itself (a cycle), has Lod lInvalid, has neither components
// nor model pairs, has a box that is not valid, or could not be written; when its placement or sizes hold a
// non-finite value or a zero-length axis; or when its row is refused. A statement refused while oi and its
// target are written (and not claimed by an instance inside) is claimed by oi
// (SqlWriter::ClaimFailuresSince), and a written oi is then recorded as failed too: the object lost a row,
// the design keeps the rest. Returns whether oi is written.
bool WriteInstance(DesignWrite& write, ZR::ObjectInstance& oi, int64_t ownerLuid);

// Writes the instance that places the written designRoot at the origin of the root record rootLuid:
// a new sequential identifier, the design root's name, no chain or sizes, flags 0, six zero
// placement values. designRoot must be written ("co->IsInDB()") and rootLuid not negative; otherwise
// nothing is written. Returns whether the row was written.
bool WriteRootInstance(SqlWriter& writer, int64_t rootLuid, const ZR::CompositeObject& designRoot);

// Writes every instance of components directly into the root record rootLuid and marks each target
// as a library object: a target without the text property ("ImportTemplate", 257) gets it with
// "Release" (a written target also its Properties row at once) and its name is listed. After each
// instance the run's progress steps; when the host reports that the user cancelled, it stops at once
// and returns false. Otherwise the log gets "The following objects can be imported as library
// object:" and one line per listed name, and the result is true.
bool WriteLibraryObjects(
    DesignWrite& write, int64_t rootLuid, const Array<std::unique_ptr<ZR::ObjectInstance>>& components);

} // namespace vx
