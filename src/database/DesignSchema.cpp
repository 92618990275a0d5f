#include "database/DesignSchema.h"

#include "database/ReportStyleBlob.h"

#include <cstdio>

namespace vx {

namespace {

constexpr const char* PRAGMAS[] = {
    "PRAGMA legacy_file_format = OFF;",
    "PRAGMA encoding=\"UTF-16\";",
    "PRAGMA page_size=4096;",
};

// The tables of the format, in the order of creation.
constexpr const char* CREATE_TABLES[] = {
    "CREATE TABLE [Guids] ([luid] INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "[guid] GUID NOT NULL);",
    "CREATE TABLE [Categories] ([id] INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "[name] NVARCHAR(128) NOT NULL, [parentcategory_id] INTEGER NULL, [order_pos] INTEGER NULL);",
    "CREATE TABLE [CompositeObjects] ([luid] INTEGER PRIMARY KEY NOT NULL, "
    "[name] NVARCHAR(128) NULL, [aabb_min_x] FLOAT NOT NULL, [aabb_min_y] FLOAT NOT NULL, "
    "[aabb_min_z] FLOAT NOT NULL, [aabb_max_x] FLOAT NOT NULL, [aabb_max_y] FLOAT NOT NULL, "
    "[aabb_max_z] FLOAT NOT NULL, [geometry_luid] INTEGER NULL, [geometry_pos_x] FLOAT NULL, "
    "[geometry_pos_y] FLOAT NULL, [geometry_pos_z] FLOAT NULL, [geometry_rot_az] FLOAT NULL, "
    "[geometry_rot_el] FLOAT NULL, [geometry_rot_tw] FLOAT NULL, [geometry_scale_x] FLOAT NULL, "
    "[geometry_scale_y] FLOAT NULL, [geometry_scale_z] FLOAT NULL, [explode] BOOLEAN NULL, "
    "[chain] INTEGER NULL, [traceable] INTEGER NULL, [lod_id] NUMERIC NOT NULL);",
    "CREATE TABLE [ConnectionTypes] ([luid] INTEGER PRIMARY KEY NOT NULL, "
    "[name] NVARCHAR(128) NULL, [round_diam] FLOAT NULL, [rect_width] FLOAT NULL, "
    "[rect_height] FLOAT NULL, [type] INTEGER NULL);",
    "CREATE TABLE [Files] ([id] INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "[geometry_luid] INTEGER NOT NULL, [filename] NVARCHAR(128) NOT NULL, [data] BLOB NOT NULL);",
    "CREATE TABLE [Geometries] ([luid] INTEGER PRIMARY KEY NOT NULL, [name] NVARCHAR(100) NULL, "
    "[model] TEXT NOT NULL);",
    "CREATE TABLE [InBox] ([id] INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "[aabb_min_x] FLOAT NOT NULL, [aabb_min_y] FLOAT NOT NULL, [aabb_min_z] FLOAT NOT NULL, "
    "[aabb_max_x] FLOAT NOT NULL, [aabb_max_y] FLOAT NOT NULL, [aabb_max_z] FLOAT NOT NULL, "
    "[parentbox_id] INTEGER NULL);",
    "CREATE TABLE [InBoxObjects] ([instance_luid] INTEGER PRIMARY KEY NOT NULL, "
    "[inbox_id] INTEGER NOT NULL, [lod_id] INTEGER NOT NULL);",
    "CREATE TABLE [InstancePocs] ([luid] INTEGER PRIMARY KEY NOT NULL, [name] NVARCHAR(128) NULL, "
    "[pos_x] FLOAT NULL, [pos_y] FLOAT NULL, [pos_z] FLOAT NULL, [rot_az] FLOAT NULL, "
    "[rot_el] FLOAT NULL, [rot_tw] FLOAT NULL, [ownerinstance_luid] INTEGER NOT NULL, "
    "[conntype_luid] INTEGER NULL, [flow] INTEGER NULL, [utility_luid] INTEGER NULL, "
    "[material_luid] INTEGER NULL, [flowgroup] INTEGER NULL, [flowrate] FLOAT NULL, "
    "[ic_code] NVARCHAR(64) NULL, [parentpoc_luid] INTEGER NULL, [connected_luid] INTEGER NULL);",
    "CREATE TABLE [Roots] ([object_luid] INTEGER PRIMARY KEY NOT NULL, [inbox_id] INTEGER NULL, "
    "[camera_x] FLOAT NULL, [camera_y] FLOAT NULL, [camera_z] FLOAT NULL, [camera_az] FLOAT NULL, "
    "[camera_el] FLOAT NULL);",
    "CREATE TABLE [SpaceGrids] ([luid] INTEGER PRIMARY KEY NOT NULL, [name] NVARCHAR(80) NULL, "
    "[offset] FLOAT NOT NULL, [axis] INTEGER NOT NULL, [parentspace_luid] INTEGER NOT NULL);",
    "CREATE TABLE [Textures] ([luid] INTEGER PRIMARY KEY NOT NULL, [name] NVARCHAR(128) NOT NULL, "
    "[data] BLOB NOT NULL);",
    "CREATE TABLE [Utilities] ([luid] INTEGER PRIMARY KEY NOT NULL, [name] NVARCHAR(128) NULL, "
    "[label_color] INTEGER NULL, [text_color] INTEGER NULL, [abstract_color] INTEGER NULL, "
    "[type] INTEGER NULL, [flow] BOOLEAN NULL);",
    "CREATE TABLE [ObjectCategories] ([object_luid] INTEGER NOT NULL, "
    "[category_id] INTEGER NOT NULL, PRIMARY KEY ([object_luid],[category_id]));",
    "CREATE TABLE [Properties] ([luid] INTEGER NOT NULL, [propdic_luid] INTEGER NOT NULL, "
    "[value] TEXT NULL, [binarydata] BLOB NULL, PRIMARY KEY ([luid],[propdic_luid]));",
    "CREATE TABLE [Spaces] ([luid] INTEGER PRIMARY KEY NOT NULL, [name] NVARCHAR(80) NULL, "
    "[pos_x] FLOAT NOT NULL, [pos_y] FLOAT NOT NULL, [pos_z] FLOAT NOT NULL, "
    "[rot_az] FLOAT NOT NULL, [rot_el] FLOAT NOT NULL, [rot_tw] FLOAT NOT NULL, "
    "[length] FLOAT NOT NULL, [height] FLOAT NOT NULL, [width] FLOAT NOT NULL, "
    "[type] INTEGER NOT NULL, [ownerobject_luid] INTEGER NOT NULL, [smrule_id] INTEGER NULL);",
    "CREATE TABLE [SpaceManagementRules] ([id] INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "[layer] INTEGER NOT NULL, [direction] INTEGER NOT NULL, [margin] FLOAT NULL);",
    "CREATE TABLE [PropertyDictionary] ([luid] INTEGER PRIMARY KEY NOT NULL, "
    "[name] NVARCHAR(128) NOT NULL, [type] INTEGER NOT NULL);",
    "CREATE TABLE [UtilitygroupRules] ([smrule_id] INTEGER NOT NULL, "
    "[propdic_luid] INTEGER NOT NULL, [restriction] INTEGER NOT NULL, "
    "PRIMARY KEY ([smrule_id],[propdic_luid]));",
    "CREATE TABLE [ObjectPocs] ([luid] INTEGER PRIMARY KEY NOT NULL, [name] NVARCHAR(128) NULL, "
    "[pos_x] FLOAT NOT NULL, [pos_y] FLOAT NOT NULL, [pos_z] FLOAT NOT NULL, "
    "[rot_az] FLOAT NOT NULL, [rot_el] FLOAT NOT NULL, [rot_tw] FLOAT NOT NULL, "
    "[ownerobject_luid] INTEGER NOT NULL, [conntype_luid] INTEGER NOT NULL, [flow] INTEGER NULL, "
    "[utility_luid] INTEGER NULL, [material_luid] INTEGER NULL, [flowgroup] INTEGER NULL, "
    "[flowrate] FLOAT NULL, [ic_code] NVARCHAR(64) NULL, [internalpoc_luid] INTEGER NULL);",
    "CREATE TABLE [StretchableInfo] ([object_luid] INTEGER PRIMARY KEY NOT NULL, "
    "[min_size] FLOAT NULL, [max_size] FLOAT NULL, [template_size] FLOAT NULL, "
    "[type] INTEGER NOT NULL);",
    "CREATE TABLE [MergeHints] ([their] GUID PRIMARY KEY NOT NULL, [luid] INTEGER NOT NULL);",
    "CREATE TABLE [ObjectInstances] ([luid] INTEGER PRIMARY KEY NOT NULL, "
    "[name] NVARCHAR(128) NULL, [ownerobject_luid] INTEGER NOT NULL, [pos_x] FLOAT NOT NULL, "
    "[pos_y] FLOAT NOT NULL, [pos_z] FLOAT NOT NULL, [rot_az] FLOAT NOT NULL, "
    "[rot_el] FLOAT NOT NULL, [rot_tw] FLOAT NOT NULL, [object_luid] INTEGER NOT NULL, "
    "[chain] BOOLEAN NULL, [length] FLOAT NULL, [height] FLOAT NULL, [width] FLOAT NULL, "
    "[flags] INTEGER NULL);",
    "CREATE TABLE [CurrentVersion] ([guid] GUID PRIMARY KEY NOT NULL, [schema] GUID NOT NULL);",
    "CREATE TABLE [BuildingSpaces] ([luid] INTEGER PRIMARY KEY NOT NULL, "
    "[name] NVARCHAR(128) NULL, [pos_x] FLOAT NOT NULL, [pos_y] FLOAT NOT NULL, "
    "[pos_z] FLOAT NOT NULL, [rot_az] FLOAT NOT NULL, [rot_el] FLOAT NOT NULL, "
    "[rot_tw] FLOAT NOT NULL, [length] FLOAT NULL, [height] FLOAT NULL, [width] FLOAT NULL, "
    "[flag] INTEGER NULL);",
    "CREATE TABLE [GridLines] ([luid] INTEGER PRIMARY KEY NOT NULL, [name] NVARCHAR(128) NULL, "
    "[position] FLOAT NOT NULL, [axis] INTEGER NOT NULL, "
    "[parentBuildingSpace_luid] INTEGER NOT NULL, [parentGridLine_luid] INTEGER NULL);",
    "CREATE TABLE [Materials] ([luid] INTEGER PRIMARY KEY NOT NULL, [name] NVARCHAR(128) NOT NULL);",
    "CREATE TABLE [ReportTypes] ([luid] INTEGER PRIMARY KEY NOT NULL, "
    "[reportname] NVARCHAR(128) NOT NULL);",
    "CREATE TABLE [ReportStyles] ([luid] INTEGER NOT NULL, [reptype_luid] INTEGER NOT NULL, "
    "[stylename] NVARCHAR(128) NOT NULL, [binarydata] BLOB NOT NULL, "
    "PRIMARY KEY ([luid],[reptype_luid]));",
    "CREATE TABLE [ImportedVXFiles] ([import_luid] INTEGER PRIMARY KEY NOT NULL, "
    "[root_object_luid] INTEGER NOT NULL, [is_validated] BOOLEAN NOT NULL);",
    "CREATE TABLE [ImportedVXLink] ([import_luid] INTEGER NOT NULL, "
    "[import_link_luid] INTEGER NOT NULL, [original_data_guid] GUID NOT NULL, "
    "[linked_data_luid] INTEGER NOT NULL, [is_validated] BOOLEAN NOT NULL, "
    "PRIMARY KEY ([import_luid], [import_link_luid]));",
};

// A blob literal X'..' with two upper-case hexadecimal digits per byte.
std::string BlobLiteral(const std::vector<uint8_t>& bytes)
{
    std::string literal = "X'";
    for (uint8_t byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02X", byte);
        literal += digits;
    }
    literal += "'";
    return literal;
}

std::string BuildSchemaScript()
{
    std::string script = "BEGIN TRANSACTION;";
    for (const char* pragma : PRAGMAS)
        script += pragma;
    for (const char* create : CREATE_TABLES)
        script += create;
    script += "INSERT INTO ReportTypes VALUES(0, 'Bill of Materials');";
    script += "INSERT INTO ReportStyles VALUES(0, 0, 'Excel report', " + BlobLiteral(BuildReportStyleBlob())
        + ");";
    script += "INSERT INTO CurrentVersion VALUES(X'00000000000000000000000000000000',"
              "X'5497E361168Fe146AAB8893156AAFD12');";
    script += "COMMIT;";
    return script;
}

} // namespace

const std::string& DesignSchemaScript()
{
    static const std::string script = BuildSchemaScript();
    return script;
}

} // namespace vx
