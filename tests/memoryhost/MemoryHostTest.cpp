#include "memoryhost/MemoryHost.h"
#include "memoryhost/DialogSession.h"
#include "memoryhost/RecordingUiDriver.h"

#include <gtest/gtest.h>

#include <numbers>

namespace vx {
namespace {

void ExpectNear(const HostPoint3& actual, const HostPoint3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

std::unique_ptr<MemoryMesh> MakeTriangle()
{
    auto mesh = std::make_unique<MemoryMesh>();
    mesh->SetVerts({{0, 0, 0}, {2, 0, 0}, {0, 4, 1}});
    mesh->SetFaces({HostFace {{0, 1, 2}, 1, 0}});
    return mesh;
}

TEST(MemoryHost, FindsTheFirstNodeOfANameDepthFirst)
{
    MemoryHost host;
    MemoryNode& a = host.AddNode(host.GetRoot(), "A");
    MemoryNode& deep = host.AddNode(a, "Door");
    host.AddNode(host.GetRoot(), "Door");
    host.AddNode(a, "door");
    EXPECT_EQ(host.GetNodeByName("Door"), &deep);
    EXPECT_EQ(host.GetNodeByName("door")->GetParentNode(), &a);
    EXPECT_EQ(host.GetNodeByName("Do"), nullptr);
    EXPECT_EQ(host.GetNodeByName("Scene Root"), nullptr); // the root is not searched
    EXPECT_TRUE(host.GetRootNode()->IsRootNode());
    EXPECT_EQ(std::string(host.GetRootNode()->GetChildNode(1)->GetName()), "Door");
    EXPECT_EQ(host.GetRootNode()->GetChildNode(2), nullptr);
}

TEST(MemoryHost, TransformsComposeThroughTheParents)
{
    MemoryHost host;
    MemoryNode& parent = host.AddNode(host.GetRoot(), "Parent");
    parent.SetLocalTM(MakeRotationMatrix(MakeQuatFromAxisAngle({0, 0, 1}, std::numbers::pi_v<float> / 2))
        * MakeTranslationMatrix({10, 0, 0}));
    MemoryNode& child = host.AddNode(parent, "Child");
    child.SetLocalTM(MakeTranslationMatrix({1, 0, 0}));
    child.SetObjectOffset({0, 0, 5}, HostQuat {}, {2, 2, 2});

    ExpectNear(child.GetNodeTM(0).rows[3], {10, 1, 0});
    EXPECT_TRUE(AreNearlyEqual(child.GetParentTM(0), parent.GetNodeTM(0), 0));
    EXPECT_TRUE(AreNearlyEqual(parent.GetParentTM(0), HostMatrix3::Identity(), 0));
    // Object transform: offset (scale 2, then up 5) in the node's frame.
    ExpectNear(HostPoint3 {1, 0, 0} * child.GetObjectTM(0), {10, 3, 5});
    EXPECT_TRUE(AreNearlyEqual(child.GetObjTMAfterWSM(0), child.GetObjectTM(0), 0));
    child.SetWorldSpaceModifier(true);
    EXPECT_TRUE(AreNearlyEqual(child.GetObjTMAfterWSM(0), HostMatrix3::Identity(), 0));
    // local = node x inverse(parent) gives the local transform back.
    EXPECT_TRUE(
        AreNearlyEqual(child.GetNodeTM(0) * Inverse(child.GetParentTM(0)), child.GetLocalTM(), 1e-5f));
}

TEST(MemoryHost, NodesShareObjectsAndMaterialsByIdentity)
{
    MemoryHost host;
    MemoryObject& box = host.AddObject(kSuperClassGeometry, kClassTriangleMesh);
    box.SetMesh(MakeTriangle());
    MemoryMaterial& brick = host.AddMaterial(kClassStandardMaterial, "Brick");
    MemoryNode& a = host.AddNode(host.GetRoot(), "A");
    MemoryNode& b = host.AddNode(host.GetRoot(), "B");
    for (MemoryNode* node : {&a, &b}) {
        node->SetObjectRef(&box);
        node->SetMaterial(&brick);
    }
    EXPECT_EQ(a.GetObjectRef(), b.GetObjectRef());
    EXPECT_EQ(a.GetMaterial(), b.GetMaterial());
    EXPECT_EQ(a.GetObjectRef()->GetMesh(), b.EvalWorldState(0)->GetRenderMesh(0, &b));
    EXPECT_EQ(brick.AsStandardMaterial(), &brick);
    EXPECT_EQ(brick.NumSubTexmaps(), 12);
}

TEST(MemoryHost, DerivedObjectsEvaluateToTheirBase)
{
    MemoryHost host;
    MemoryObject& base = host.AddObject(kSuperClassGeometry, {0x10, 0});
    base.SetMesh(MakeTriangle());
    MemoryObject& lower = host.AddObject(kSuperClassDerivedObject, {});
    lower.SetDerivedFrom(&base, 2);
    MemoryObject& upper = host.AddObject(kSuperClassDerivedObject, {});
    upper.SetDerivedFrom(&lower, 1);

    EXPECT_EQ(upper.GetReferencedObject(), &lower);
    EXPECT_EQ(upper.FindBaseObject(), &base);
    EXPECT_EQ(upper.Evaluate(0), &base);
    EXPECT_EQ(lower.GetNumModifiers(), 2);
    EXPECT_EQ(base.GetNumModifiers(), 0);
    EXPECT_EQ(base.GetMesh(), nullptr); // not a triangle mesh object: only a render mesh
    EXPECT_NE(upper.GetRenderMesh(0, nullptr), nullptr);
    EXPECT_TRUE(upper.CanConvertToMesh());

    HostObject* copy = base.Clone();
    EXPECT_NE(copy, &base);
    EXPECT_NE(copy->GetRenderMesh(0, nullptr), base.GetRenderMesh(0, nullptr));
    EXPECT_EQ(copy->GetRenderMesh(0, nullptr)->GetNumFaces(), 1);
    EXPECT_EQ(host.GetObjectCount(), 4u);
}

TEST(MemoryHost, ObjectBoundingBoxIsInNodeSpace)
{
    MemoryHost host;
    MemoryObject& object = host.AddObject(kSuperClassGeometry, kClassTriangleMesh);
    object.SetMesh(MakeTriangle());
    MemoryNode& node = host.AddNode(host.GetRoot(), "N");
    node.SetLocalTM(MakeTranslationMatrix({100, 100, 100})); // the node's placement does not count
    node.SetObjectOffset({1, 0, 0}, HostQuat {}, {1, 1, 1});
    EXPECT_TRUE(node.GetObjectBoundingBox().IsEmpty());
    node.SetObjectRef(&object);
    const HostBox3 box = node.GetObjectBoundingBox();
    ExpectNear(box.min, {1, 0, 0});
    ExpectNear(box.max, {3, 4, 1});
}

TEST(MemoryHost, TypedUserPropertiesShareTheTextWithTheBuffer)
{
    MemoryHost host;
    MemoryNode& root = host.GetRoot();
    root.SetUserPropBuffer("ZRInstance Door\r\nOptGeom = true\r\n");
    bool optGeom = false;
    EXPECT_TRUE(root.GetUserPropBool("OptGeom", optGeom));
    EXPECT_TRUE(optGeom);
    root.SetUserPropInt("LodType", 2);
    root.SetUserPropBool("SingleGeometry", false);
    root.SetUserPropBool("OptGeom", false);
    EXPECT_EQ(std::string(root.GetUserPropBuffer()),
        "ZRInstance Door\r\nOptGeom = false\r\nLodType = 2\nSingleGeometry = false\n");
    int lodType = 0;
    EXPECT_TRUE(root.GetUserPropInt("LodType", lodType));
    EXPECT_EQ(lodType, 2);
    std::string text;
    EXPECT_FALSE(root.GetUserPropString("ZRInstance", text)); // not a key = value line
    bool missing = true;
    EXPECT_FALSE(root.GetUserPropBool("Missing", missing));
    EXPECT_TRUE(missing);
}

TEST(MemoryHost, ProgressAndCancelGoToTheDriver)
{
    MemoryHost host;
    RecordingUiDriver driver;
    host.SetUiDriver(&driver);
    driver.SetCancelAfterQueries(1);
    host.ProgressStart("Collecting objects...");
    host.ProgressUpdate(150);
    EXPECT_FALSE(host.GetCancel());
    EXPECT_TRUE(host.GetCancel());
    EXPECT_TRUE(host.GetCancel()); // the cancellation stays
    EXPECT_EQ(driver.GetCancelQueries(), 2);
    host.ProgressEnd();
    EXPECT_TRUE(host.GetCancel());
    driver.SetCancelAfterQueries(-1);
    host.ProgressStart("Writing objects...");
    EXPECT_FALSE(host.GetCancel()); // a new progress clears it

    const auto& events = driver.GetEvents();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].kind, UiEvent::Kind::ProgressStart);
    EXPECT_EQ(events[0].text, "Collecting objects...");
    EXPECT_EQ(events[1].percent, 100);
    EXPECT_EQ(events[2].kind, UiEvent::Kind::ProgressEnd);
    EXPECT_EQ(events[3].text, "Writing objects...");

    host.ShowMessageBox(host.GetMainWindow(), "Done.", "Info");
    EXPECT_EQ(driver.GetMessageBoxes(), std::vector<std::string> {"Info: Done."});
    EXPECT_EQ(driver.GetEvents().back().window, MemoryHost::kMainWindow);
    host.SetUiDriver(nullptr);
    EXPECT_FALSE(host.GetCancel());
}

// A handler shaped like the export options dialog: the check box mirrors a flag, OK and Cancel end
// the dialog with their ids, the close box with 0.
class OptionsProc final : public HostDialogProc {
public:
    bool flag = true;
    int commands = 0;
    bool OnInit(HostDialog& dialog) override
    {
        dialog.CenterOverParent();
        dialog.SetCheck(1015, flag);
        return true;
    }
    bool OnCommand(HostDialog& dialog, int id) override
    {
        ++commands;
        if (id == 1 || id == 1001)
            dialog.End(id);
        else if (id == 1015)
            flag = dialog.IsChecked(1015);
        return true;
    }
    bool OnClose(HostDialog& dialog) override
    {
        dialog.End(0);
        return true;
    }
};

HostDialogTemplate MakeOptionsDialog()
{
    HostDialogTemplate dialog;
    dialog.caption = "Varnex Export Options";
    static const HostDialogControl kControls[] = {{1, HostControlKind::PushButton, "OK", 59, 53, 58, 16},
        {1001, HostControlKind::PushButton, "Cancel", 123, 52, 58, 16},
        {1015, HostControlKind::CheckBox, "Export as single object", 41, 26, 87, 10}};
    dialog.controls = {kControls, 3};
    return dialog;
}

TEST(MemoryHost, DialogsArePlayedByTheDriver)
{
    const HostDialogTemplate dialog = MakeOptionsDialog();
    struct Case {
        const char* what;
        std::vector<int> actions;
        int result;
        bool flag;
    };
    const Case cases[] = {
        {"default: OK", {}, 1, true},
        {"untick, cancel", {1015, 1001}, 1001, false},
        {"untick, close box", {1015, RecordingUiDriver::kCloseDialog}, 0, false},
        {"untick, tick, OK", {1015, 1015, 1}, 1, true},
        {"unknown control, then nothing", {4711}, 0, true},
    };
    for (const Case& c : cases) {
        MemoryHost host;
        RecordingUiDriver driver;
        host.SetUiDriver(&driver);
        driver.SetDialogActions(c.actions);
        OptionsProc proc;
        EXPECT_EQ(host.ShowModalDialog(host.GetActiveWindow(), dialog, proc), c.result) << c.what;
        EXPECT_EQ(proc.flag, c.flag) << c.what;
        const UiEvent& shown = driver.GetEvents().back();
        EXPECT_EQ(shown.kind, UiEvent::Kind::Dialog);
        EXPECT_EQ(shown.caption, "Varnex Export Options");
        EXPECT_EQ(shown.window, MemoryHost::kActiveWindow);
        EXPECT_EQ(shown.checks, (std::vector<std::pair<int, bool>> {{1015, true}})) << c.what;
    }
}

TEST(MemoryHost, ADialogThatNobodyEndsReturnsZero)
{
    class Stubborn final : public HostDialogProc {
    public:
        bool OnInit(HostDialog&) override { return true; }
        bool OnCommand(HostDialog&, int) override { return false; }
        bool OnClose(HostDialog&) override { return false; }
    } proc;
    MemoryHost host;
    EXPECT_EQ(host.ShowModalDialog(host.GetActiveWindow(), MakeOptionsDialog(), proc), 0);
}

TEST(MemoryHost, SceneFileNameIsTheLastPathComponent)
{
    MemoryHost host;
    EXPECT_EQ(std::string(host.GetCurFileName()), "");
    host.SetSceneFile("/projects/house/house.max");
    EXPECT_EQ(std::string(host.GetCurFileName()), "house.max");
    EXPECT_EQ(std::string(host.GetCurFilePath()), "/projects/house/house.max");
    host.SetMapDirs({"/maps", "/more"});
    EXPECT_EQ(host.GetMapDirCount(), 2);
    EXPECT_EQ(std::string(host.GetMapDir(1)), "/more");
    EXPECT_EQ(std::string(host.GetMapDir(2)), "");
    EXPECT_EQ(host.GetMasterUnitInfo().type, kHostUnitMeters);
}

} // namespace
} // namespace vx
