#include "database/GeometryWriter.h"

#include "database/BufferFiles.h"
#include "database/ModelDescription.h"
#include "database/TextureName.h"

#include "base/Assert.h"
#include "base/DebugOutput.h"

#include <string>

namespace vx {

namespace {

// The Geometries row of luid; returns its row id, or -1 when it was not inserted.
int64_t InsertGeometryRow(SqlWriter& writer, int64_t luid, const char* name, const std::string& text)
{
    const bool inserted = writer.BindAndRun(
        writer.GetStatement(WriterStatement::InsertGeometry), [&](Sqlite3::Statement& insert) {
            insert.Param(0).BindInt64(luid);
            insert.Param(1).BindText(name);
            insert.Param(2).BindText(text.c_str());
        });
    return inserted ? writer.LastInsertRowid() : -1;
}

// The Geometries row and the buffer files of model, all or nothing: when a file cannot be written
// the row and the files written so far are taken back, so that no description names a missing
// file. Returns the row id, or -1 (model.geomid is then -1 too).
//
// Opening and releasing the savepoint run as prepared statements (a large design has tens of
// thousands of geometries); both follow statements that succeeded. Taking back follows a failure,
// after which a prepared statement without parameters refuses to run, so it runs as a script.
int64_t InsertGeometry(DesignWrite& write, const ModelDescriptionOptions& options, ZR::Model& model,
    int64_t luid, const char* name, const std::string& text)
{
    SqlWriter& writer = write.sql;
    if (!writer.Run(writer.GetStatement(WriterStatement::SavepointGeometry)))
        return -1;
    const int64_t geomid = InsertGeometryRow(writer, luid, name, text);
    if (geomid >= 0 && WriteBufferFiles(writer, model, geomid, options, write.tables.writtenFiles)) {
        writer.Run(writer.GetStatement(WriterStatement::ReleaseGeometry));
        return geomid;
    }
    WriteDebugOutput(
        std::string("Geometry of \"") + name + "\" not written: its row or a buffer file was refused\r\n");
    writer.ExecScript("ROLLBACK TO geometry_write;RELEASE geometry_write");
    model.geomid = -1;
    return -1;
}

} // namespace

int64_t WriteGeometry(DesignWrite& write, ZR::CompositeObject& co, bool unique)
{
    SqlWriter& writer = write.sql;
    ZR::Model& model = co.data.Model;
    if (!VX_ASSERT_TEXT(model.geomid < 0, "co->data.Model.geomid < 0"))
        return model.geomid;
    if (!VX_ASSERT_TEXT(!model.pairs.IsEmpty(), "!co->data.Model.pairs.IsEmpty()"))
        return -1;

    const ModelDescriptionOptions options {write.options.singleObjectActive, write.options.scaleFactor};
    const std::string text = BuildModelDescription(
        model, options, [&write](VMTexture& texture) { return StoreTexture(write, texture); });
    if (text.empty())
        return -1;
    const DUniqueID textId = DUniqueID::FromName(text.c_str());
    GeometryMap& geometries = writer.WriteState().geometries;
    if (!unique) {
        const int64_t shared = geometries.FindShared(textId, text);
        if (shared >= 0) {
            model.geomid = shared;
            return shared;
        }
    }

    // Two rows never carry one identifier: a second geometry of the identifier gets its own.
    const DUniqueID rowId = geometries.IsUsed(textId) ? DUniqueID::NewSequential() : textId;
    // The identifier's Guids row stays even when the geometry is taken back: its luid is never
    // given to another geometry.
    const int64_t luid = writer.NewLuid(rowId);
    if (luid < 0)
        return -1;
    if (rowId == textId)
        geometries.MarkUsed(textId);
    const int64_t geomid = InsertGeometry(write, options, model, luid, co.name.c_str(), text);
    if (geomid < 0)
        return -1;
    VX_ASSERT_TEXT(geomid >= 0, "co->data.Model.geomid >= 0");
    if (!VX_ASSERT_TEXT(model.geomid == geomid, "co->data.Model.geomid == geomid"))
        model.geomid = geomid;
    // A part's geometry carries its part key: other objects must not take it over.
    if (!unique)
        geometries.AddShared(textId, text, geomid);
    return geomid;
}

} // namespace vx
