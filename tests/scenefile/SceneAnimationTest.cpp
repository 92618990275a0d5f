// Animation in the substitute host: the scene file's timeline and node controllers, the node
// transforms they drive over time, and the controllers a caller creates and releases.

#include "JsonSchemaCheck.h"
#include "SceneFileTestSupport.h"

#include "host/HostClassId.h"
#include "host/HostController.h"
#include "memoryhost/MemoryController.h"
#include "memoryhost/MemoryHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vx {
namespace {

using vxtest::MakeScene;
using vxtest::SceneFiles;

std::string NodeWithAnimation(const std::string& animation, const std::string& more = "")
{
    return MakeScene(more + R"("nodes": [{"name": "n", "animation": )" + animation + "}]");
}

TEST(SceneAnimation, TimelineSetsTheRangeInFramesOrTicks)
{
    SceneFiles files;
    const auto defaults = files.Load(MakeScene(""));
    ASSERT_TRUE(defaults.scene);
    EXPECT_EQ(defaults.scene->GetAnimRange(), (HostInterval {0, 16000}));
    EXPECT_EQ(defaults.scene->GetTicksPerFrame(), 160);

    const auto frames
        = files.Load(MakeScene(R"("timeline": {"start": -10, "end": 20, "ticksPerFrame": 200})"));
    ASSERT_TRUE(frames.scene);
    EXPECT_EQ(frames.scene->GetAnimRange(), (HostInterval {-2000, 4000}));
    EXPECT_EQ(frames.scene->GetTicksPerFrame(), 200);

    const auto ticks = files.Load(MakeScene(R"("timeline": {"timeUnit": "ticks", "end": 7})"));
    ASSERT_TRUE(ticks.scene);
    EXPECT_EQ(ticks.scene->GetAnimRange(), (HostInterval {0, 7}));
}

TEST(SceneAnimation, ControllersDriveTheNodeTransformOverTime)
{
    SceneFiles files;
    const auto loaded = files.Load(MakeScene(R"("nodes": [{"name": "parent",
        "animation": {"position": {"type": "linear", "keys": [{"time": 0, "value": [0, 0, 0]}, {"time": 10, "value": [10, 0, 0]}]}},
        "children": [{"name": "child", "transform": {"position": [0, 5, 0], "scale": [2, 2, 2]},
          "animation": {"rotation": {"type": "tcb", "keys": [{"time": 0, "axis": [0, 0, 1], "angle": 0},
                                                            {"time": 10, "axis": [0, 0, 1], "angle": 90}]}}}]}])"));
    ASSERT_TRUE(loaded.scene);
    const HostNode* parent = loaded.scene->GetNodeByName("parent");
    const HostNode* child = loaded.scene->GetNodeByName("child");
    ASSERT_TRUE(parent && child);
    EXPECT_EQ(parent->GetNodeTM(800).rows[3], (HostPoint3 {5, 0, 0}));
    EXPECT_EQ(parent->GetNodeTM(99999).rows[3], (HostPoint3 {10, 0, 0}));
    // The child keeps its position and scale and turns: at frame 10 its x axis is the host's y axis.
    const HostMatrix3 end = child->GetNodeTM(1600);
    EXPECT_NEAR(end.rows[0].x, 0.0f, 1e-5f);
    EXPECT_NEAR(end.rows[0].y, 2.0f, 1e-5f);
    EXPECT_NEAR(end.rows[3].x, 10.0f, 1e-5f);
    EXPECT_NEAR(end.rows[3].y, 5.0f, 1e-5f);

    const HostController* transform = child->GetTMController();
    ASSERT_NE(transform, nullptr);
    const HostController* rotation = transform->GetRotationController();
    ASSERT_NE(rotation, nullptr);
    EXPECT_EQ(rotation->GetClassId(), (HostClassId {0x442313, 0}));
    EXPECT_TRUE(rotation->IsAnimated());
    EXPECT_EQ(rotation->GetTimeRange(), (HostInterval {0, 1600}));
    ASSERT_NE(rotation->GetKeyControl(), nullptr);
    HostKey key;
    EXPECT_TRUE(rotation->GetKeyControl()->GetKey(1, &key));
    EXPECT_NEAR(key.angle, 1.5707964f, 1e-6f); // keys keep their relative rotation
    EXPECT_FALSE(rotation->GetKeyControl()->GetKey(2, &key));
    EXPECT_FALSE(transform->GetScaleController()->IsAnimated());
    EXPECT_EQ(loaded.scene->GetNodeByName("parent")
                  ->GetTMController()
                  ->GetScaleController()
                  ->GetValue(0, nullptr)
                  .point,
        (HostPoint3 {1, 1, 1}));
}

TEST(SceneAnimation, ValuesBetweenKeysAreValidForTheirInstantOnly)
{
    SceneFiles files;
    const auto loaded = files.Load(NodeWithAnimation(R"({"position": {"type": "xyz",
        "x": {"type": "linear", "keys": [{"time": 0, "value": 0}, {"time": 10, "value": 10}]}}})"));
    ASSERT_TRUE(loaded.scene);
    const HostController* position
        = loaded.scene->GetNodeByName("n")->GetTMController()->GetPositionController();
    HostInterval valid = kIntervalForever;
    EXPECT_EQ(position->GetValue(800, &valid).point, (HostPoint3 {5, 0, 0}));
    EXPECT_EQ(valid, (HostInterval {800, 800}));
    valid = kIntervalForever;
    position->GetValue(5000, &valid);
    EXPECT_EQ(valid, (HostInterval {1600, kTimePosInfinity}));
    EXPECT_EQ(position->NumKeys(), 2);
    EXPECT_EQ(position->GetKeyControl(), nullptr);
    ASSERT_NE(position->GetXController(), nullptr);
    EXPECT_EQ(position->GetYController(), nullptr);
}

TEST(SceneAnimation, CreatedControllersCopyXyzKeysAndAreReleasedByTheirCaller)
{
    SceneFiles files;
    const auto loaded = files.Load(NodeWithAnimation(R"({"position": {"type": "xyz",
        "x": {"type": "tcb", "keys": [{"time": 0, "value": 1, "tension": 5}, {"time": 10, "value": 2}]},
        "z": {"type": "tcb", "keys": [{"time": 5, "value": 3}]}}})"));
    ASSERT_TRUE(loaded.scene);
    const HostController* xyz = loaded.scene->GetNodeByName("n")->GetTMController()->GetPositionController();
    HostController* temporary = loaded.scene->CreateController({0x442312, 0});
    ASSERT_NE(temporary, nullptr);
    ASSERT_TRUE(temporary->Copy(xyz));
    const HostKeyControl* keys = temporary->GetKeyControl();
    ASSERT_NE(keys, nullptr);
    ASSERT_EQ(keys->GetNumKeys(), 3);
    HostKey key;
    ASSERT_TRUE(keys->GetKey(0, &key));
    EXPECT_EQ(key.point, (HostPoint3 {1, 0, 3}));
    EXPECT_EQ(key.tension, 5.0f);
    ASSERT_TRUE(keys->GetKey(1, &key));
    EXPECT_EQ(key.time, 800);
    EXPECT_EQ(key.point, (HostPoint3 {1.5f, 0, 3}));
    temporary->DeleteThis(); // a leak or a double release shows under the sanitizers

    EXPECT_EQ(loaded.scene->CreateController({0x2011, 0}), nullptr); // the path constraint is not made
    EXPECT_EQ(loaded.scene->CreateController({1, 2}), nullptr);
    // The scene's own controllers ignore a release.
    loaded.scene->GetNodeByName("n")->GetTMController()->DeleteThis();
    EXPECT_NE(loaded.scene->GetNodeByName("n")->GetTMController()->GetPositionController(), nullptr);
}

TEST(SceneAnimation, PathConstraintFollowsTheShapeOfItsPathNode)
{
    SceneFiles files;
    const auto loaded = files.Load(MakeScene(R"("objects": [{"id": "line", "type": "shape",
        "splines": [{"knots": [{"point": [0, 0, 0]}, {"point": [30, 0, 0]}]}]}],
        "nodes": [{"name": "rider", "animation": {"position": {"type": "path", "path": "p", "axis": 2, "follow": true,
                    "percent": {"type": "bezier", "keys": [{"time": 0, "value": 0}, {"time": 10, "value": 100}]}}}},
                  {"name": "line", "id": "p", "object": "line", "transform": {"position": [0, 7, 0]}}])"));
    ASSERT_TRUE(loaded.scene);
    const HostController* position
        = loaded.scene->GetNodeByName("rider")->GetTMController()->GetPositionController();
    HostPathConstraint* path = position->GetPathConstraint();
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->GetPathNode(), loaded.scene->GetNodeByName("line"));
    EXPECT_TRUE(path->GetFollow());
    EXPECT_FALSE(path->GetFlip());
    EXPECT_EQ(path->GetAxis(), 2);
    EXPECT_EQ(path->GetPercentController()->GetClassId(), (HostClassId {0x2007, 0}));
    EXPECT_EQ(loaded.scene->GetNodeByName("rider")->GetNodeTM(800).rows[3], (HostPoint3 {15, 7, 0}));
}

TEST(SceneAnimation, PathNodesThatDoNotDependOnTheirNodeLoad)
{
    // A node may follow its parent's shape or a node whose child follows it, and path constraints
    // may follow each other in a chain.
    const std::string documents[] = {
        MakeScene(R"("nodes": [{"name": "Track", "id": "track", "children": [
            {"name": "Rider", "animation": {"position": {"type": "path", "path": "track"}}}]}])"),
        MakeScene(
            R"("nodes": [{"name": "A", "id": "a", "animation": {"position": {"type": "path", "path": "b"}}},
            {"name": "B", "id": "b", "children": [
              {"name": "Rider", "animation": {"position": {"type": "path", "path": "a"}}}]}])"),
        MakeScene(R"("nodes": [{"name": "A", "animation": {"position": {"type": "path", "path": "b"}}},
            {"name": "B", "id": "b", "animation": {"position": {"type": "path", "path": "c"}}},
            {"name": "C", "id": "c"}])"),
    };
    SceneFiles files;
    for (const std::string& document : documents) {
        const SceneLoadResult result = files.Load(document);
        EXPECT_TRUE(result.scene) << (result.error ? result.error->GetText() : document);
    }
}

TEST(SceneAnimation, BrokenAnimationIsRefusedWithItsPlace)
{
    const std::string followsItself
        = R"("nodes": [{"name": "Wheel", "id": "wheel", "animation": {"position": {"type": "path", "path": )";
    const struct {
        std::string document;
        SceneLoadErrorKind kind;
        std::string location;
        std::string message = ""; // a part of the message, when given
    } cases[] = {
        // Path constraints whose node's transform would depend on itself.
        {MakeScene(followsItself + R"("wheel"}}}])"), SceneLoadErrorKind::ReferenceCycle,
            "/nodes/0/animation/position/path", "the path node 'Wheel' is the node itself"},
        {MakeScene(followsItself + R"("hub"}},
            "children": [{"name": "Spoke", "children": [{"name": "Hub", "id": "hub"}]}]}])"),
            SceneLoadErrorKind::ReferenceCycle, "/nodes/0/animation/position/path",
            "the path node 'Hub' is one of the node's children"},
        {MakeScene(R"("nodes": [{"name": "Free"},
            {"name": "A", "id": "a", "animation": {"position": {"type": "path", "path": "rider"}}},
            {"name": "B", "animation": {"position": {"type": "path", "path": "a"}},
             "children": [{"name": "Rider", "id": "rider"}]}])"),
            SceneLoadErrorKind::ReferenceCycle, "/nodes/1/animation/position/path",
            "the path node 'Rider' depends on the node's transform"},
        {NodeWithAnimation(R"({"position": {"type": "smooth"}})"), SceneLoadErrorKind::InvalidValue,
            "/nodes/0/animation/position/type"},
        {NodeWithAnimation(R"({"rotation": {"type": "other"}})"), SceneLoadErrorKind::MissingField,
            "/nodes/0/animation/rotation"},
        {NodeWithAnimation(R"({"position": {"type": "path", "path": "nowhere"}})"),
            SceneLoadErrorKind::UnknownReference, "/nodes/0/animation/position/path"},
        {NodeWithAnimation(
             R"({"position": {"type": "linear", "keys": [{"time": 13421773, "value": [0, 0, 0]}]}})"),
            SceneLoadErrorKind::InvalidValue, "/nodes/0/animation/position/keys/0/time"},
        {NodeWithAnimation(
             R"({"position": {"type": "linear", "keys": [{"time": 0, "value": [0, 0, 0], "tension": 1}]}})"),
            SceneLoadErrorKind::UnknownField, "/nodes/0/animation/position/keys/0/tension"},
        {NodeWithAnimation(
             R"({"rotation": {"type": "tcb", "keys": [{"time": 0, "axis": [0, 0, 0], "angle": 5}]}})"),
            SceneLoadErrorKind::InvalidValue, "/nodes/0/animation/rotation/keys/0/axis"},
        {NodeWithAnimation(R"({"position": {"type": "xyz", "keys": []}})"), SceneLoadErrorKind::UnknownField,
            "/nodes/0/animation/position/keys"},
        {NodeWithAnimation(R"({"spin": {}})"), SceneLoadErrorKind::UnknownField, "/nodes/0/animation/spin"},
        {MakeScene(R"("timeline": {"timeUnit": "seconds"})"), SceneLoadErrorKind::InvalidValue,
            "/timeline/timeUnit"},
        {MakeScene(R"("timeline": {"start": 10, "end": 5})"), SceneLoadErrorKind::InvalidValue, "/timeline"},
    };
    SceneFiles files;
    for (const auto& c : cases) {
        const SceneLoadResult result = files.Load(c.document);
        ASSERT_TRUE(result.error) << c.document;
        EXPECT_EQ(result.error->kind, c.kind) << result.error->GetText();
        EXPECT_EQ(result.error->location, c.location) << result.error->GetText();
        EXPECT_NE(result.error->message.find(c.message), std::string::npos) << result.error->GetText();
    }
}

TEST(SceneAnimation, TransformThatDependsOnItselfTakesTheStaticTransformWhereItWouldRecurse)
{
    // Scenes made in code, which no loader checks: a node following its own shape, a child's shape,
    // or a node that follows it back. Where the evaluation would ask for a node's transform within
    // its own evaluation, it takes the node's static transform (at 0, 7, 0): the wheel lands half
    // way along the straight spline placed there, or, following a node placed that way, half way
    // along the spline placed at that node.
    const struct {
        std::string follows;
        HostPoint3 expected;
    } cases[] = {{"itself", {15, 7, 0}}, {"child", {15, 7, 0}}, {"follower", {30, 7, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.follows);
        MemoryHost host;
        MemoryObject& line = host.AddObject(kSuperClassShape, {});
        const auto knot = [](float x) { return HostSplineKnot {{x, 0, 0}, {x, 0, 0}, {x, 0, 0}}; };
        line.SetShape(MemoryShape({MemorySpline {false, {knot(0), knot(30)}}}));
        MemoryNode& wheel = host.AddNode(host.GetRoot(), "Wheel");
        MemoryNode& hub = host.AddNode(wheel, "Hub");
        MemoryNode& follower = host.AddNode(host.GetRoot(), "Follower");
        for (MemoryNode* node : {&wheel, &hub, &follower})
            node->SetObjectRef(&line);
        wheel.SetLocalTM(MakeTranslationMatrix({0, 7, 0}));
        follower.SetLocalTM(MakeTranslationMatrix({0, 7, 0}));
        const auto followPath = [&](MemoryNode& node, MemoryNode& pathNode) {
            MemoryController& percent
                = host.AddController({0x2001, 0}, MemoryValueType::Float, MemoryControllerKind::Keys);
            percent.SetConstant({{}, {}, 50.0f});
            MemoryController& path
                = host.AddController({0x2011, 0}, MemoryValueType::Position, MemoryControllerKind::Path);
            path.SetPath(&pathNode, &percent, false, false, 0);
            MemoryController& transform = host.AddController(
                {0x2005, 0}, MemoryValueType::Transform, MemoryControllerKind::Transform);
            transform.SetSubControllers(&path, nullptr, nullptr);
            node.SetTMController(&transform);
        };
        if (c.follows == "itself") {
            followPath(wheel, wheel);
        } else if (c.follows == "child") {
            followPath(wheel, hub);
        } else {
            followPath(wheel, follower);
            followPath(follower, wheel);
        }
        EXPECT_EQ(wheel.GetNodeTM(0).rows[3], c.expected);
        // The guard is lifted after each evaluation: asking again gives the same.
        EXPECT_EQ(wheel.GetNodeTM(0).rows[3], c.expected);
        EXPECT_EQ(hub.GetObjectTM(0).rows[3], c.expected);
    }
}

TEST(SceneAnimation, AnimatedExampleLoadsAndConforms)
{
    const char* source = std::getenv("VX_SOURCE_DIR");
    const std::filesystem::path path
        = std::filesystem::path(source ? source : ".") / "examples" / "animated" / "animated.json";
    const SceneLoadResult result = LoadSceneFile(path.string());
    ASSERT_FALSE(result.error) << result.error->GetText();
    std::ifstream schemaFile(
        std::filesystem::path(source ? source : ".") / "docs" / "scene-format.schema.json");
    std::ifstream sceneFile(path);
    const std::vector<std::string> errors
        = vxtest::CheckAgainstSchema(nlohmann::json::parse(schemaFile), nlohmann::json::parse(sceneFile));
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
} // namespace vx
