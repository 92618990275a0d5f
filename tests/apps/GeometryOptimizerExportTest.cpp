// The geometry optimiser end to end: vxexport --optimize-geometry lets nodes with copies of one
// mesh and one material share an object, so that groups of copies are found as one composite
// object and fewer geometries are written; without the option the scene is exported as it is.

#include "EndToEndSupport.h"
#include "VxexportProcess.h"
#include "VxinfoCheck.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace vxtest {
namespace {

constexpr int kExported = 0;

// Four tables, each a group holding its own copies of one top and one leg mesh in one material.
// Without the optimiser each table's pieces are objects of their own, so the tables are not
// recognised as one composite object.
std::string TablesScene()
{
    const std::string top
        = R"("mesh": {"vertices": [[0,0,0],[1,0,0],[0,1,0],[1,1,1]], "faces": [[0,1,2],[1,2,3]]})";
    const std::string leg = R"("mesh": {"vertices": [[0,0,0],[0.2,0,0],[0,0,2]], "faces": [[0,1,2]]})";
    std::string objects = R"({"id": "grp", "type": "groupHead"})";
    std::string nodes;
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i);
        objects += R"(, {"id": "top)" + n + R"(", "type": "mesh", )" + top + "}";
        objects += R"(, {"id": "leg)" + n + R"(", "type": "mesh", )" + leg + "}";
        nodes += std::string(i ? ", " : "") + R"({"name": "Table)" + n + R"(", "object": "grp", )"
            + R"("transform": {"position": [)" + std::to_string(5 * i) + R"(,0,0]}, "children": [)"
            + R"({"name": "Top", "object": "top)" + n
            + R"(", "material": "grey", "transform": {"position": [0,0,1]}},)"
            + R"({"name": "Leg", "object": "leg)" + n + R"(", "material": "grey"}]})";
    }
    return MakeSceneText(R"("unit": {"type": "meters"}, "sceneFile": "tables.max",
 "materials": [{"id": "grey", "name": "Grey", "diffuse": [0.5, 0.5, 0.5]}],
 "objects": [)"
        + objects + R"(],
 "nodes": [)"
        + nodes + "]");
}

struct Counts {
    int64_t geometries = -1;
    int64_t composites = -1;
    int64_t instances = -1;
};

class GeometryOptimizerExport : public testing::Test {
protected:
    // Exports the scene per object, with or without the optimiser, and counts what was written.
    Counts Export(bool optimize)
    {
        WriteTextFile(dir.File("tables.json"), TablesScene());
        std::vector<std::string> args {"--per-object"};
        if (optimize)
            args.push_back("--optimize-geometry");
        args.push_back(dir.File("tables.json"));
        args.push_back(dir.File("tables.vx"));
        const ProcessResult run = RunVxexport(args);
        EXPECT_EQ(run.exitCode, kExported) << run.err;
        ExportedDatabase db(dir.File("tables.vx"));
        ExpectSoundDatabase(dir.File("tables.vx"));
        EXPECT_EQ(db.Integer("SELECT count(*) FROM Roots"), 1);
        return {db.Integer("SELECT count(*) FROM Geometries"),
            db.Integer("SELECT count(*) FROM CompositeObjects"),
            db.Integer("SELECT count(*) FROM ObjectInstances")};
    }

    TempDir dir;
};

TEST_F(GeometryOptimizerExport, CopiesBecomeOneObjectOnlyWhenAskedFor)
{
    const Counts plain = Export(false);
    const Counts optimised = Export(true);
    EXPECT_GT(optimised.geometries, 0);
    EXPECT_LT(optimised.geometries, plain.geometries);
    EXPECT_LT(optimised.composites, plain.composites);
    EXPECT_LT(optimised.instances, plain.instances);
}

} // namespace
} // namespace vxtest
